#include "SysLocale.h"

namespace {

TSysLocale ReadSysLocale()
{
    TSysLocale locale;
    locale.DefaultLCID = GetThreadLocale();
    locale.PriLangID = PRIMARYLANGID(LANGIDFROMLCID(locale.DefaultLCID));
    locale.FarEast = GetSystemMetrics(SM_DBCSENABLED) != 0;
    locale.MiddleEast = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
    return locale;
}

}  // namespace

TSysLocale SysLocale = ReadSysLocale();

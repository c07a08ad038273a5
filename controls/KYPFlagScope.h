// Holds one of an object's flags at a value while a scope runs and gives the
// old value back however the scope ends, an exception included; given the
// object's life token, it leaves alone an object freed meanwhile.
#pragma once

#include <optional>
#include <utility>

#include "KYPLifeToken.h"

class TkypFlagScope {
public:
    TkypFlagScope(bool& flag, bool value) : m_Flag(flag), m_Old(std::exchange(flag, value)) {}
    TkypFlagScope(bool& flag, bool value, TkypLifeToken::TWatch life)
        : m_Flag(flag), m_Old(std::exchange(flag, value)), m_Life(std::move(life))
    {
    }
    ~TkypFlagScope()
    {
        if (!m_Life || m_Life->Alive()) m_Flag = m_Old;
    }
    TkypFlagScope(const TkypFlagScope&) = delete;
    TkypFlagScope& operator=(const TkypFlagScope&) = delete;

private:
    bool& m_Flag;
    bool m_Old;
    std::optional<TkypLifeToken::TWatch> m_Life;
};

#include "Dialogs.h"

#include <utility>

#include "Forms.h"

namespace {

// Room for any path the system can name.
constexpr size_t kFileNameCapacity = 32768;

const wchar_t* OrNull(const String& text) { return text.empty() ? nullptr : text.c_str(); }

// The dialogs belong to the main form while it is on screen, else to the
// application window, so they stay above the program and block its input.
HWND DialogOwner()
{
    if (!Application) return nullptr;
    TForm* form = Application->MainForm();
    if (form && form->HandleAllocated() && IsWindowVisible(form->Handle())) return form->Handle();
    return Application->Handle();
}

TMessageDlgHandler& MessageDlgHandler()
{
    static TMessageDlgHandler handler;
    return handler;
}

UINT MessageBoxButtons(TMsgDlgButtons buttons)
{
    switch (buttons) {
    case mbOK: return MB_OK;
    case mbOK | mbCancel: return MB_OKCANCEL;
    case mbYes | mbNo: return MB_YESNO;
    case mbYes | mbNo | mbCancel: return MB_YESNOCANCEL;
    case mbRetry | mbCancel: return MB_RETRYCANCEL;
    case mbAbort | mbRetry | mbIgnore: return MB_ABORTRETRYIGNORE;
    default: throw Exception(L"A message box cannot show this set of buttons");
    }
}

}  // namespace

String FileDialogFilter(const String& filter)
{
    String result;
    size_t parts = 0;
    size_t start = 0;
    String description;
    while (start <= filter.size() && !filter.empty()) {
        size_t end = filter.find(L'|', start);
        if (end == String::npos) end = filter.size();
        const String part = filter.substr(start, end - start);
        if (parts++ % 2 == 0) {
            description = part;
        } else {
            result += description + L'\0' + part + L'\0';
        }
        start = end + 1;
    }
    if (result.empty()) return String();
    return result + L'\0';
}

bool TOpenDialog::Execute()
{
    String buffer = fileName_;
    buffer.resize(kFileNameCapacity, L'\0');
    const String filter = FileDialogFilter(filter_);

    OPENFILENAMEW parameters{};
    parameters.lStructSize = sizeof parameters;
    parameters.hwndOwner = DialogOwner();
    parameters.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    parameters.nFilterIndex = 1;
    parameters.lpstrFile = buffer.data();
    parameters.nMaxFile = static_cast<DWORD>(buffer.size());
    parameters.lpstrInitialDir = OrNull(initialDir_);
    parameters.lpstrTitle = OrNull(title_);
    parameters.lpstrDefExt = OrNull(defaultExt_);
    // The program's current directory stays where it was.
    parameters.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!RunDialog(parameters)) return false;
    fileName_ = buffer.c_str();
    return true;
}

TMessageDlgHandler SetMessageDlgHandler(TMessageDlgHandler handler)
{
    return std::exchange(MessageDlgHandler(), std::move(handler));
}

int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext)
{
    (void)helpContext;
    if (MessageDlgHandler()) return MessageDlgHandler()(message, type, buttons);
    static const struct {
        const wchar_t* Title;
        UINT Icon;
    } looks[] = {{L"Warning", MB_ICONWARNING}, {L"Error", MB_ICONERROR}, {L"Information", MB_ICONINFORMATION},
        {L"Confirm", MB_ICONQUESTION}, {nullptr, 0}};
    const auto& look = looks[static_cast<size_t>(type)];
    const UINT flags = MessageBoxButtons(buttons) | look.Icon;
    const String title = look.Title ? String(look.Title) : Application ? Application->Title() : String();
    // The system's button numbers are the modal results.
    return MessageBoxW(DialogOwner(), message.c_str(), title.c_str(), flags);
}

void ShowMessage(const String& text)
{
    const String title = Application ? Application->Title() : String();
    MessageBoxW(DialogOwner(), text.c_str(), title.c_str(), MB_OK);
}

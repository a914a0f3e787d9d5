// Message boxes, beeps, help and the common file dialogs: all answered by
// the user of the headless build (automation).
#include "posix/user/scripted_user.h"
#include "posix/user/text.h"
#include "posix/win_kernel.h"
#include "posix/win_user.h"

#include <sys/stat.h>

using namespace winuser;

namespace {
thread_local DWORD commDlgError = 0;

bool Exists(const std::string& p, bool dirOnly) {
    struct stat st;
    if (stat(p.c_str(), &st) != 0) return false;
    return dirOnly ? S_ISDIR(st.st_mode) : !S_ISDIR(st.st_mode);
}

std::string DirOf(const std::string& p) {
    size_t s = p.find_last_of("/\\");
    return s == std::string::npos ? "." : (s == 0 ? "/" : p.substr(0, s));
}

// Fills the OPENFILENAME fields after an answer; false when the buffer is short.
template <class Ch>
bool Deliver(const std::u16string& path, Ch* file, DWORD maxFile, Ch* title, DWORD maxTitle, WORD& offset,
             WORD& ext, const std::basic_string<Ch>& encoded) {
    if (!file || encoded.size() + 1 > maxFile) {
        commDlgError = FNERR_BUFFERTOOSMALL;
        // As documented: the first two bytes receive the size needed.
        if (file && maxFile >= 2) {
            size_t need = encoded.size() + 1;
            ((unsigned char*)file)[0] = (unsigned char)(need & 0xFF);
            ((unsigned char*)file)[1] = (unsigned char)((need >> 8) & 0xFF);
        }
        return false;
    }
    std::copy(encoded.begin(), encoded.end(), file);
    file[encoded.size()] = 0;
    size_t slash = path.find_last_of(u"/\\");
    size_t off = slash == std::u16string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of(u'.');
    offset = (WORD)off;
    ext = (WORD)(dot == std::u16string::npos || dot < off ? 0 : dot + 1);
    if (title && maxTitle > 0) {
        size_t n = encoded.size() - off < maxTitle - 1 ? encoded.size() - off : maxTitle - 1;
        std::copy(encoded.begin() + off, encoded.begin() + off + n, title);
        title[n] = 0;
    }
    return true;
}

// Asks the user until the answer passes the checks the flags ask for; a
// refused answer is shown to the user as Windows does and asked again.
bool AskPath(HWND owner, bool save, const std::u16string& title, DWORD flags, const std::u16string& defExt, std::u16string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!user::AnswerFileDialog(owner, save, title, flags, path)) return false;
        if (!defExt.empty()) {
            size_t slash = path.find_last_of(u"/\\");
            size_t dot = path.find_last_of(u'.');
            if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) path += u"." + defExt;
        }
        std::string p = ToUtf8(path);
        if ((flags & OFN_PATHMUSTEXIST) && !Exists(DirOf(p), true)) {
            MessageBoxW(owner, (path + u"\nPath does not exist.\nCheck the path and try again.").c_str(), title.c_str(),
                        MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        if ((flags & OFN_FILEMUSTEXIST) && !Exists(p, false)) {
            MessageBoxW(owner, (path + u"\nFile not found.\nCheck the file name and try again.").c_str(),
                        title.c_str(), MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        if (save && (flags & OFN_OVERWRITEPROMPT) && Exists(p, false)) {
            if (MessageBoxW(owner, (path + u" already exists.\nDo you want to replace it?").c_str(), title.c_str(),
                            MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
                continue;
        }
        return true;
    }
    return false;
}

template <class OFN>
bool CheckSize(const OFN* o, size_t v400) {
    commDlgError = 0;
    if (!o || (o->lStructSize != sizeof(OFN) && o->lStructSize != v400)) {
        commDlgError = CDERR_STRUCTSIZE;
        return false;
    }
    return true;
}

BOOL FileDialogW(LPOPENFILENAMEW o, bool save) {
    if (!CheckSize(o, OPENFILENAME_SIZE_VERSION_400W)) return FALSE;
    std::u16string path;
    if (!AskPath(o->hwndOwner, save, W(o->lpstrTitle), o->Flags, W(o->lpstrDefExt), path)) return FALSE;
    return Deliver<WCHAR>(path, o->lpstrFile, o->nMaxFile, o->lpstrFileTitle, o->nMaxFileTitle, o->nFileOffset,
                          o->nFileExtension, path);
}

BOOL FileDialogA(LPOPENFILENAMEA o, bool save) {
    if (!CheckSize(o, OPENFILENAME_SIZE_VERSION_400A)) return FALSE;
    std::u16string path;
    if (!AskPath(o->hwndOwner, save, FromAnsi(o->lpstrTitle), o->Flags, FromAnsi(o->lpstrDefExt), path)) return FALSE;
    return Deliver<char>(path, o->lpstrFile, o->nMaxFile, o->lpstrFileTitle, o->nMaxFileTitle, o->nFileOffset,
                         o->nFileExtension, ToAnsi(path));
}
}  // namespace

int WINAPI MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    std::u16string t = W(text);
    std::u16string c = caption ? W(caption) : std::u16string(u"Error");
    return user::AnswerMessageBox(owner, t, c, type);
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    std::u16string t = FromAnsi(text);
    std::u16string c = caption ? FromAnsi(caption) : std::u16string(u"Error");
    return MessageBoxW(owner, t.c_str(), c.c_str(), type);
}

BOOL WINAPI MessageBeep(UINT type) {
    user::RecordBeep(type);
    return TRUE;
}

BOOL WINAPI WinHelpW(HWND h, LPCWSTR file, UINT cmd, ULONG_PTR data) {
    user::RecordHelp(h, W(file), cmd, data);
    return TRUE;
}

BOOL WINAPI WinHelpA(HWND h, LPCSTR file, UINT cmd, ULONG_PTR data) {
    user::RecordHelp(h, FromAnsi(file), cmd, data);
    return TRUE;
}

BOOL WINAPI GetOpenFileNameW(LPOPENFILENAMEW o) { return FileDialogW(o, false); }
BOOL WINAPI GetSaveFileNameW(LPOPENFILENAMEW o) { return FileDialogW(o, true); }
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA o) { return FileDialogA(o, false); }
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA o) { return FileDialogA(o, true); }
DWORD WINAPI CommDlgExtendedError(void) { return commDlgError; }

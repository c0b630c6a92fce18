#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/directory_listing.h"
#include "platform/listed_names.h"
#include "platform/wide_text.h"

namespace tomlet {

// The folder's path in the long form, which the wide API takes however long it grows.
struct OpenFolder::Handle {
    std::wstring Path;
};

namespace {

// "\\?\C:\folder" or "\\?\UNC\server\share\folder", without a closing separator unless it is a
// drive's root.
std::wstring LongForm(std::wstring path) {
    // A bare "D:" is the drive's current folder to the system, but its root to a catalogue.
    if (path.size() == 2 && path[1] == L':')
        path += L'\\';
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    if (full.size() > 3 && full.ends_with(L'\\'))
        full.pop_back();
    if (full.starts_with(LR"(\\?\)"))
        return full;
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

// The folder's identity; false when the path names no folder or it cannot be opened.
bool IdentifyFolder(const std::wstring& folder, FolderIdentity& identity) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_DIRECTORY);
        return false;
    }
    const HANDLE handle =
        CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileInformationByHandle(handle, &information)) {
        identity.Volume = information.dwVolumeSerialNumber;
        identity.Index =
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    }
    CloseHandle(handle);
    return true;
}

// NTFS keeps a folder ordered by names upper-cased character by character; FAT, disc file
// systems and Wine's host file system list in whatever order they hold.
bool WideNameLess(const std::wstring& left, const std::wstring& right) {
    const auto compare = [&](BOOL ignoreCase) {
        return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                    static_cast<int>(right.size()), ignoreCase);
    };
    const int folded = compare(TRUE);
    return folded != CSTR_EQUAL ? folded == CSTR_LESS_THAN : compare(FALSE) == CSTR_LESS_THAN;
}

bool IsDotOrDotDot(std::wstring_view name) {
    return name == L"." || name == L"..";
}

}  // namespace

OpenFolder::OpenFolder(const std::string& path) {
    std::wstring folder = LongForm(NativePath(path).native());
    if (IdentifyFolder(folder, m_identity))
        m_handle = std::make_unique<Handle>(std::move(folder));
    else
        Fail(LastErrorText());
}

OpenFolder::OpenFolder(const OpenFolder& parent, const std::string& name) {
    if (!parent.IsOpen()) {
        Fail(parent.Error());
        return;
    }
    const std::wstring& parentPath = parent.m_handle->Path;
    std::wstring folder =
        parentPath + (parentPath.ends_with(L'\\') ? L"" : L"\\") + NativePath(name).native();
    if (IdentifyFolder(folder, m_identity))
        m_handle = std::make_unique<Handle>(std::move(folder));
    else
        Fail(LastErrorText());
}

OpenFolder::~OpenFolder() = default;

std::optional<FileIdentityStamp> OpenFolder::StampOf(const std::string& name) const {
    if (!IsOpen())
        return std::nullopt;
    const std::wstring& folder = m_handle->Path;
    return StampOfFile(folder + (folder.ends_with(L'\\') ? L"" : L"\\") +
                       NativePath(name).native());
}

bool OpenFolder::List(DirectoryListing& listing) {
    listing.Entries.clear();
    listing.Skipped.clear();
    listing.Identity = m_identity;
    if (!IsOpen())
        return false;
    const std::wstring& path = m_handle->Path;
    const std::wstring pattern = path + (path.ends_with(L'\\') ? L"*" : L"\\*");
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return Fail(LastErrorText());
    std::vector<NativeEntry> entries;
    do {
        if (IsDotOrDotDot(found.cFileName))
            continue;
        const DWORD attributes = found.dwFileAttributes;
        entries.push_back({found.cFileName, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                           (attributes & FILE_ATTRIBUTE_SYSTEM) != 0,
                           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        SetLastError(error);
        return Fail(LastErrorText());
    }
    std::ranges::sort(entries, WideNameLess, &NativeEntry::Name);
    FillListing(entries, listing);
    return true;
}

}  // namespace tomlet

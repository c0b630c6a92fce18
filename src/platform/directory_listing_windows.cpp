#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/directory_listing.h"
#include "platform/native_path.h"

namespace tomlet {

namespace {

FolderIdentity IdentifyFolder(const std::wstring& folder) {
    FolderIdentity identity;
    const HANDLE handle =
        CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return identity;
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileInformationByHandle(handle, &information)) {
        identity.Volume = information.dwVolumeSerialNumber;
        identity.Index =
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    }
    CloseHandle(handle);
    return identity;
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

bool ListDirectory(const std::string& folder, DirectoryListing& listing) {
    listing.Entries.clear();
    listing.Skipped.clear();
    const std::wstring native = NativePath(folder).native();
    const std::wstring pattern =
        native + (native.ends_with(L'\\') || native.ends_with(L'/') ? L"*" : L"\\*");
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    std::vector<std::pair<std::wstring, DWORD>> names;
    do {
        if (!IsDotOrDotDot(found.cFileName))
            names.emplace_back(found.cFileName, found.dwFileAttributes);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::ranges::sort(names, WideNameLess, &std::pair<std::wstring, DWORD>::first);

    for (const auto& [name, attributes] : names) {
        const bool isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool isHidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        if (std::optional<std::string> codePageName = CodePageName(name))
            listing.Entries.push_back({std::move(*codePageName), isDirectory, isHidden,
                                       (attributes & FILE_ATTRIBUTE_SYSTEM) != 0});
        else
            listing.Skipped.push_back(
                {DisplayName(name), SkipReason::UnrepresentableName, isDirectory, isHidden});
    }
    listing.Identity = IdentifyFolder(native);
    return true;
}

}  // namespace tomlet

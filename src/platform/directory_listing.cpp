#include "platform/directory_listing.h"

#include "platform/listed_names.h"

namespace tomlet {

void FillListing(std::vector<NativeEntry>& sorted, DirectoryListing& listing) {
    for (NativeEntry& entry : sorted) {
        const auto skip = [&](SkipReason reason) {
            listing.Skipped.push_back(
                {DisplayName(entry.Name), reason, entry.IsDirectory, entry.IsHidden});
        };
        // Stored paths separate their parts with '\' on every system, so a name holding one
        // would come back as two (Windows names never hold one).
        if (entry.Name.find('\\') != NativeString::npos) {
            skip(SkipReason::BackslashInName);
        } else if (std::optional<std::string> name = CodePageName(entry.Name)) {
            listing.Entries.push_back({std::move(*name), entry.IsDirectory, entry.IsHidden,
                                       entry.IsSystem, entry.IsLink});
        } else {
            skip(SkipReason::UnrepresentableName);
        }
    }
}

bool OpenFolder::IsOpen() const {
    return m_handle != nullptr;
}

bool OpenFolder::Fail(std::string error) {
    m_error = std::move(error);
    return false;
}

bool ListDirectory(const std::string& folder, DirectoryListing& listing) {
    return OpenFolder(folder).List(listing);
}

}  // namespace tomlet

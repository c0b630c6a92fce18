// The scan commands of the editor view.
#include <QAction>
#include <QLineEdit>
#include <QTabWidget>
#include <stdexcept>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/scanner.h"
#include "platform/file_system.h"
#include "ui/main_window.h"
#include "ui/object_tree_model.h"
#include "ui/qt_text.h"
#include "ui/scan_dialog.h"

namespace tomlet {

namespace {

using namespace Qt::StringLiterals;

std::vector<std::string> ToByteStrings(const QStringList& texts) {
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<size_t>(texts.size()));
    for (const QString& text : texts)
        bytes.push_back(FromQString(text));
    return bytes;
}

// The folder a Folder object stands for; an object without a path stands for the data directory.
std::string FolderOfObject(const std::string& dataDir, const std::string& storedPath) {
    if (storedPath.empty())
        return dataDir + PathRules::Native().Separator;
    return ResolveObjectPath(1, dataDir, storedPath, ProgramFolder());
}

// The catalogue's message, then the first few of the paths left out.
QString SkippedNamesText(const std::vector<SkippedEntry>& skipped) {
    constexpr std::size_t Shown = 10;
    QString text = ToQString(ExpandLineBreaks(
        FormatCount(Text(TextId::message_SkippedNames_D), static_cast<long long>(skipped.size()))));
    for (std::size_t i = 0; i < skipped.size() && i < Shown; ++i)
        text += u"\n"_s + QString::fromStdString(skipped[i].Path);
    if (skipped.size() > Shown)
        text += u"\n…"_s;
    return text;
}

}  // namespace

void Tfrm_Main::ConnectScanCommands() {
    ConnectCommand(m_ui.a_operation_item_ScanProjectDirectory,
                   &Tfrm_Main::a_operation_item_ScanProjectDirectoryExecute);
    ConnectCommand(m_ui.a_operation_item_ScanCurrentFolder,
                   &Tfrm_Main::a_operation_item_ScanCurrentFolderExecute);
}

void Tfrm_Main::a_operation_item_ScanProjectDirectoryExecute() {
    if (m_seams.StoredMasks == nullptr)
        throw std::logic_error("No mask store");
    Tfrm_Scan dialog(*m_seams.UserPrompts, *m_seams.StoredMasks, ToQString(m_currentDataDir), this);
    dialog.SetDirectory(ToQString(m_currentDataDir));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_scanMaskList = ToByteStrings(dialog.MaskList());
    const std::string typed = FromQString(dialog.GetDirectory());
    if (!DirectoryExists(typed)) {
        Tell(MessageKind::Error, ToQString(Text(TextId::message_IncorrectPath)));
        return;
    }
    m_currentDataDir = NormaliseDataDirectory(typed);
    m_ui.edit_ProjectDataDir->setText(ToQString(m_currentDataDir));
    ScanDirectory(m_currentDataDir, nullptr, dialog.ScanNested(), true);
}

void Tfrm_Main::a_operation_item_ScanCurrentFolderExecute() {
    ObjectNode* folder = SelectedNode();
    if (m_model->Tree().IsEmpty() || folder == nullptr || folder->Data.ObjectType != otFolder)
        return;
    if (m_seams.StoredMasks == nullptr)
        throw std::logic_error("No mask store");
    Tfrm_Scan dialog(*m_seams.UserPrompts, *m_seams.StoredMasks, ToQString(m_currentDataDir), this);
    dialog.SetDirectory(ToQString(FolderOfObject(m_currentDataDir, folder->Data.PathFileName)));
    dialog.LockDirectory(true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_scanMaskList = ToByteStrings(dialog.MaskList());
    ScanDirectory(StripTrailingBackslash(FromQString(dialog.GetDirectory())), folder,
                  dialog.ScanNested(), false);
}

// The new objects are built apart from the shown tree and attached in one step, so the view
// never meets half-built data while window messages go through; after an error what was built
// is attached all the same.
void Tfrm_Main::ScanDirectory(const std::string& directory, ObjectNode* parent, bool nested,
                              bool disableCommands) {
    BusyScope busy(*this, disableCommands);
    m_ui.EditPageControl->setEnabled(false);
    ObjectTree built;
    const auto attach = [&] {
        m_ui.EditPageControl->setEnabled(true);
        m_model->Adopt(std::move(built), parent);
    };
    std::vector<SkippedEntry> skipped;
    try {
        FolderScanner scanner(m_scanMaskList, m_currentDataDir, Progress(), Pump());
        scanner.ScanDirectory(directory, built, nullptr, nested);
        skipped = scanner.Skipped();
    } catch (...) {
        attach();
        throw;
    }
    attach();
    if (!skipped.empty())
        Tell(MessageKind::Warning, SkippedNamesText(skipped));
}

}  // namespace tomlet

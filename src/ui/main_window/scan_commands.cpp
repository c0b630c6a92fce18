#include "ui/main_window/scan_commands.h"

#include <QLineEdit>
#include <QTabWidget>

#include "core/catalogue.h"
#include "core/paths.h"
#include "core/scanner.h"
#include "platform/file_system.h"
#include "ui/base/qt_text.h"
#include "ui/dialogs/scan_dialog.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/main_window/project_session.h"
#include "ui/seams/prompts.h"
#include "ui/tree/object_tree_model.h"
#include "ui/tree/object_tree_view.h"

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

// The catalogue's message, then the first few of the paths left out, each with its reason.
QString SkippedNamesText(const std::vector<SkippedEntry>& skipped) {
    constexpr std::size_t Shown = 10;
    QString text = ToQString(ExpandLineBreaks(
        FormatCount(Text(TextId::message_SkippedNames_D), static_cast<long long>(skipped.size()))));
    for (std::size_t i = 0; i < skipped.size() && i < Shown; ++i)
        text += u"\n"_s + QString::fromStdString(SkippedEntryLine(skipped[i]));
    if (skipped.size() > Shown)
        text += u"\n…"_s;
    return text;
}

}  // namespace

ScanCommands::ScanCommands(QWidget& window, const MainWindowUi& ui, ObjectTreeModel& model,
                           ProjectSession& session, BusyState& busy, const Seams& seams,
                           MessagePump& pump)
    : m_window(window),
      m_ui(ui),
      m_model(model),
      m_session(session),
      m_busy(busy),
      m_seams(seams),
      m_pump(pump) {}

bool ScanCommands::AskScanOptions(Tfrm_Scan& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_scanMaskList = ToByteStrings(dialog.MaskList());
    return true;
}

void ScanCommands::a_operation_item_ScanProjectDirectoryExecute() {
    const QString dataDir = ToQString(m_session.CurrentDataDir());
    Tfrm_Scan dialog(m_seams.UserPrompts, m_seams.StoredMasks, dataDir, &m_window);
    dialog.SetDirectory(dataDir);
    if (!AskScanOptions(dialog))
        return;
    const std::string typed = FromQString(dialog.GetDirectory());
    if (!DirectoryExists(typed)) {
        m_seams.UserPrompts.ShowMessage(&m_window, MessageKind::Error,
                                        ToQString(Text(TextId::message_IncorrectPath)));
        return;
    }
    m_session.SetCurrentDataDir(NormaliseDataDirectory(typed));
    m_ui.edit_ProjectDataDir->setText(ToQString(m_session.CurrentDataDir()));
    ScanDirectory(m_session.CurrentDataDir(), nullptr, dialog.ScanNested(),
                  BusyState::Commands::Disable);
}

void ScanCommands::a_operation_item_ScanCurrentFolderExecute() {
    ObjectNode* folder = m_ui.TreeView->SelectedNode();
    if (m_model.Tree().IsEmpty() || folder == nullptr || folder->Data.ObjectType != otFolder)
        return;
    const std::string& dataDir = m_session.CurrentDataDir();
    Tfrm_Scan dialog(m_seams.UserPrompts, m_seams.StoredMasks, ToQString(dataDir), &m_window);
    dialog.SetDirectory(ToQString(FolderOfObject(dataDir, folder->Data.PathFileName)));
    dialog.LockDirectory(true);
    if (!AskScanOptions(dialog))
        return;
    ScanDirectory(StripTrailingBackslash(FromQString(dialog.GetDirectory())), folder,
                  dialog.ScanNested(), BusyState::Commands::LeaveEnabled);
}

// The new objects are built apart from the shown tree and attached in one step, so the view
// never meets half-built data while window messages go through; after an error what was built
// is attached all the same.
void ScanCommands::ScanDirectory(const std::string& directory, ObjectNode* parent, bool nested,
                                 BusyState::Commands commands) {
    const BusyState::Scope busy(m_busy, commands);
    m_ui.EditPageControl->setEnabled(false);
    ObjectTree built;
    const auto attach = [&] {
        m_ui.EditPageControl->setEnabled(true);
        m_model.Adopt(std::move(built), parent);
    };
    std::vector<SkippedEntry> skipped;
    try {
        FolderScanner scanner(m_scanMaskList, m_session.CurrentDataDir(), m_seams.Progress, m_pump);
        scanner.SetAdoptingNode(m_model.Tree(), parent);
        scanner.ScanDirectory(directory, built, nullptr, nested);
        skipped = scanner.Skipped();
    } catch (...) {
        // Not swallowed: the objects found so far are attached, then the error goes on to the
        // general error display. (Attaching may fail too, so it is no scope guard.)
        attach();
        throw;
    }
    attach();
    if (!skipped.empty())
        m_seams.UserPrompts.ShowMessage(&m_window, MessageKind::Warning, SkippedNamesText(skipped));
}

}  // namespace tomlet

#include "ui/main_window/scan_commands.h"

#include <QApplication>
#include <QPersistentModelIndex>
#include <QScopeGuard>
#include <algorithm>

#include "core/catalogue.h"
#include "core/disc_update.h"
#include "core/paths.h"
#include "core/scanner.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "ui/base/qt_text.h"
#include "ui/dialogs/scan_dialog.h"
#include "ui/dialogs/update_dialog.h"
#include "ui/main_window/project_session.h"
#include "ui/seams/mask_store.h"
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

// Keeps a widget off while a scan lets window messages through.
class DisabledScope final {
public:
    explicit DisabledScope(QWidget& widget) : m_widget(widget) { m_widget.setEnabled(false); }
    ~DisabledScope() { m_widget.setEnabled(true); }
    DisabledScope(const DisabledScope&) = delete;
    DisabledScope& operator=(const DisabledScope&) = delete;

private:
    QWidget& m_widget;
};

// Asks the user in the middle of a busy command: with the ordinary pointer, not the busy one.
template <class Ask>
auto AskWhileBusy(Ask ask) {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    return ask();
}

// What an update compares: the selected Folder object's folder (the data directory when its
// path is empty), or else the whole data directory.
DiscUpdateScope UpdateScope(const std::string& dataDir, ObjectNode* selected) {
    DiscUpdateScope scope;
    scope.BaseFolder = dataDir;
    if (selected != nullptr && selected->Data.ObjectType == otFolder) {
        scope.Folder = selected->Data.PathFileName;
        scope.FolderObject = selected;
    }
    return scope;
}

}  // namespace

ScanCommands::ScanCommands(QWidget& window, const ScanWidgets& widgets, ObjectTreeModel& model,
                           ProjectSession& session, BusyState& busy, const Seams& seams,
                           MessagePump& pump, std::string discFolder)
    : m_window(window),
      m_widgets(widgets),
      m_model(model),
      m_session(session),
      m_busy(busy),
      m_seams(seams),
      m_pump(pump),
      m_discFolder(std::move(discFolder)) {}

std::unique_ptr<Tfrm_Scan> ScanCommands::ScanOptions(const std::string& folder) {
    auto dialog = std::make_unique<Tfrm_Scan>(m_seams.UserPrompts, m_seams.StoredMasks,
                                              ToQString(m_session.DataDir()),
                                              ToQString(m_discFolder), &m_window);
    dialog->SetDirectory(ToQString(folder));
    return dialog;
}

bool ScanCommands::AskScanOptions(Tfrm_Scan& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_scanMaskList = ToByteStrings(dialog.MaskList());
    return true;
}

void ScanCommands::a_operation_item_ScanProjectDirectoryExecute() {
    const std::unique_ptr<Tfrm_Scan> dialog = ScanOptions(m_session.DataDir());
    if (!AskScanOptions(*dialog))
        return;
    const std::string typed = FromQString(dialog->GetDirectory());
    if (!DirectoryExists(typed)) {
        m_seams.UserPrompts.ShowMessage(&m_window, MessageKind::Error,
                                        ToQString(Text(TextId::message_IncorrectPath)));
        return;
    }
    m_session.SetDataDirectory(NormaliseDataDirectory(typed));
    ScanDirectory(m_session.DataDir(), nullptr, dialog->ScanNested(), BusyState::Commands::Disable);
}

void ScanCommands::a_operation_item_ScanCurrentFolderExecute() {
    ObjectNode* folder = m_widgets.Tree->SelectedNode();
    if (folder == nullptr || folder->Data.ObjectType != otFolder)
        return;
    const std::unique_ptr<Tfrm_Scan> dialog =
        ScanOptions(FolderOfObject(m_session.DataDir(), folder->Data.PathFileName));
    dialog->LockDirectory(true);
    if (!AskScanOptions(*dialog))
        return;
    ScanDirectory(StripTrailingBackslash(FromQString(dialog->GetDirectory())), folder,
                  dialog->ScanNested(), BusyState::Commands::LeaveEnabled);
}

// The new objects are built apart from the shown tree and attached in one step, so the view
// never meets half-built data while window messages go through; after an error what was built
// is attached all the same.
void ScanCommands::ScanDirectory(const std::string& directory, ObjectNode* parent, bool nested,
                                 BusyState::Commands commands) {
    const BusyState::Scope busy(m_busy, commands);
    ObjectTree built;
    std::vector<SkippedEntry> skipped;
    // The files are known from the scan on, so that the first update finds those renamed since.
    FingerprintMap fingerprints;
    try {
        const DisabledScope pages(*m_widgets.EditorPages);
        FolderScanner scanner(m_scanMaskList, m_session.DataDir(), m_seams.Progress, m_pump);
        scanner.SetAdoptingNode(m_model.Tree(), parent);
        scanner.RecordFingerprints(&fingerprints);
        scanner.ScanDirectory(directory, built, nullptr, nested);
        skipped = scanner.Skipped();
    } catch (...) {
        // Not swallowed: the objects found so far are attached, then the error goes on to the
        // general error display. (Attaching may fail too, so it is no scope guard.)
        m_session.AddFingerprints(fingerprints);
        m_model.Adopt(std::move(built), parent);
        throw;
    }
    m_session.AddFingerprints(fingerprints);
    m_model.Adopt(std::move(built), parent);
    if (!skipped.empty())
        m_seams.UserPrompts.ShowMessage(&m_window, MessageKind::Warning, SkippedNamesText(skipped));
}

void ScanCommands::a_operation_item_UpdateFromDiscExecute() {
    const std::string& dataDir = m_session.DataDir();
    if (m_model.Tree().IsEmpty() || dataDir.empty())
        return;
    DiscUpdateScope scope = UpdateScope(dataDir, m_widgets.Tree->SelectedNode());
    const std::unique_ptr<Tfrm_Scan> dialog =
        ScanOptions(scope.Folder.empty() ? dataDir : FolderOfObject(dataDir, scope.Folder));
    dialog->LockDirectory(true);
    if (!AskUpdateOptions(*dialog))
        return;
    scope.Masks = m_scanMaskList;
    scope.Nested = dialog->ScanNested();

    // Busy from the scan until the changes are in, so that nothing changes the tree between.
    const BusyState::Scope busy(m_busy);
    FingerprintMap fingerprints = m_session.Fingerprints();
    DiscChanges changes = ScanForChanges(scope, fingerprints);
    if (changes.FingerprintsChanged)
        m_session.ReplaceFingerprints(std::move(fingerprints));
    if (changes.IsEmpty()) {
        AskWhileBusy([this] {
            m_seams.UserPrompts.ShowMessage(&m_window, MessageKind::Information,
                                            ToQString(Text(TextId::message_DiscUnchanged)));
        });
        return;
    }
    Tfrm_Update review(changes, &m_window);
    if (AskWhileBusy([&review] { return review.exec(); }) == QDialog::Accepted)
        ApplyReviewedChanges(std::move(changes), review.LeftOut());
}

bool ScanCommands::AskUpdateOptions(Tfrm_Scan& dialog) {
    dialog.setWindowTitle(ToQString(Text(TextId::text_UpdateOptions)));
    const QString projectFile = ToQString(m_session.CurrentFileName());
    if (!projectFile.isEmpty())
        if (const auto choice = m_seams.StoredMasks.LoadUpdateChoice(projectFile))
            dialog.Preselect(choice->Masks, choice->Nested);
    if (!AskScanOptions(dialog))
        return false;
    if (!projectFile.isEmpty())
        m_seams.StoredMasks.SaveUpdateChoice(projectFile, {dialog.MaskList(), dialog.ScanNested()});
    return true;
}

DiscChanges ScanCommands::ScanForChanges(const DiscUpdateScope& scope,
                                         FingerprintMap& fingerprints) {
    const DisabledScope pages(*m_widgets.EditorPages);
    return tomlet::FindDiscChanges(m_model.Tree(), scope, ProcessCodec(), m_seams.Progress, m_pump,
                                   &fingerprints);
}

// A selected object that the update deletes hands the selection to the nearest folder above it
// that stays (the object fields empty themselves when none does).
void ScanCommands::ApplyReviewedChanges(DiscChanges&& changes,
                                        const std::unordered_set<const ObjectNode*>& leftOut) {
    std::vector<QPersistentModelIndex> selectedAndAbove;
    for (const ObjectNode* node = m_widgets.Tree->SelectedNode(); node != nullptr;
         node = node->Parent())
        selectedAndAbove.emplace_back(m_model.IndexFromNode(node));
    m_model.ApplyDiscChanges(std::move(changes), leftOut);
    const auto kept = std::ranges::find_if(selectedAndAbove, &QPersistentModelIndex::isValid);
    if (kept != selectedAndAbove.begin() && kept != selectedAndAbove.end())
        m_widgets.Tree->SelectNode(ObjectTreeModel::NodeFromIndex(*kept));
}

}  // namespace tomlet

#include "ui/seams/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "ui/dialogs/folder_picker.h"

namespace tomlet {

namespace {

QString TitleOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QStringLiteral("Warning");
        case MessageKind::Error:
            return QStringLiteral("Error");
        case MessageKind::Information:
            break;
    }
    return QStringLiteral("Information");
}

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Information:
            break;
    }
    return QMessageBox::Information;
}

// Catalogue texts break their lines with CR LF; a label wants LF alone.
QString WithPlainLineBreaks(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString PatternsInQtForm(const QString& patterns) {
    QStringList list = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    }
    list.removeAll(QString());
    return list.isEmpty() ? QStringLiteral("*") : list.join(u' ');
}

// Qt reads the patterns from the last bracketed group of a description. A description that
// already ends with its patterns keeps them in Qt's form; any other gets them appended.
QString QtFilterEntry(const QString& description, const QString& patterns) {
    const QString qtPatterns = PatternsInQtForm(patterns);
    const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
    if (description.endsWith(shown)) {
        return description.left(description.size() - shown.size()) + QLatin1Char('(') + qtPatterns +
               QLatin1Char(')');
    }
    const QString trimmed = description.trimmed();
    return (trimmed.isEmpty() ? qtPatterns : trimmed) + QStringLiteral(" (") + qtPatterns +
           QLatin1Char(')');
}

QStringList RunFileDialog(QWidget* owner, const QString& title, const QString& filter,
                          const QString& folder, QFileDialog::FileMode mode) {
    QFileDialog dialog(owner, title, folder, ToQtFileFilter(filter));
    dialog.setAcceptMode(mode == QFileDialog::AnyFile ? QFileDialog::AcceptSave
                                                      : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    dialog.setDefaultSuffix(QStringLiteral("tml"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList files = dialog.selectedFiles();
    for (QString& file : files)
        file = QDir::toNativeSeparators(file);
    return files;
}

QString FirstOf(const QStringList& files) {
    return files.isEmpty() ? QString() : files.constFirst();
}

// A splash stays on top of every window: a box opened under it would leave the program looking
// hung. The splash goes first; a box means the start-up has stopped to ask anyway.
void MakeWayForBox() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowType() == Qt::SplashScreen && window->isVisible())
            window->hide();
}

enum class Risk { Usual, Warned };

// True only when the user chooses Yes. A warned step preselects No. Standard buttons, which
// Qt's translation names in the user's language.
bool AskYesOrNo(QWidget* owner, const QString& text, Risk risk) {
    MakeWayForBox();
    const bool warned = risk == Risk::Warned;
    QMessageBox box(warned ? QMessageBox::Warning : QMessageBox::Question,
                    warned ? TitleOf(MessageKind::Warning) : QStringLiteral("Confirm"),
                    WithPlainLineBreaks(text), QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    box.setDefaultButton(warned ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace

void ShowStandardMessage(QWidget* owner, MessageKind kind, const QString& text) {
    MakeWayForBox();
    QMessageBox box(IconOf(kind), TitleOf(kind), WithPlainLineBreaks(text), QMessageBox::NoButton,
                    owner);
    box.addButton(QMessageBox::Ok);
    box.exec();
}

void QtPrompts::ShowMessage(QWidget* owner, MessageKind kind, const QString& text) {
    ShowStandardMessage(owner, kind, text);
}

bool QtPrompts::Confirm(QWidget* owner, const QString& text) {
    return AskYesOrNo(owner, text, Risk::Usual);
}

bool QtPrompts::ConfirmDefaultNo(QWidget* owner, const QString& text) {
    return AskYesOrNo(owner, text, Risk::Warned);
}

Answer QtPrompts::AskYesNoCancel(QWidget* owner, const QString& text) {
    MakeWayForBox();
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), WithPlainLineBreaks(text),
                    QMessageBox::NoButton, owner);
    // Standard buttons, which Qt's translation names in the user's language.
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

QString QtPrompts::OpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                const QString& folder) {
    return FirstOf(RunFileDialog(owner, title, filter, folder, QFileDialog::ExistingFile));
}

QString QtPrompts::SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                const QString& folder) {
    // QFileDialog asks before overwriting unless told not to.
    return FirstOf(RunFileDialog(owner, title, filter, folder, QFileDialog::AnyFile));
}

QStringList QtPrompts::OpenFileNames(QWidget* owner, const QString& title, const QString& filter,
                                     const QString& folder) {
    return RunFileDialog(owner, title, filter, folder, QFileDialog::ExistingFiles);
}

QString QtPrompts::PickFolder(QWidget* owner, const FolderPickerRequest& request) {
    return tomlet::PickFolder(owner, request);
}

QString ToQtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QString();
        if (!parts[i].trimmed().isEmpty() || !patterns.trimmed().isEmpty())
            entries.append(QtFilterEntry(parts[i], patterns));
    }
    return entries.join(QLatin1String(";;"));
}

}  // namespace tomlet

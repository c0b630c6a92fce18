#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tomlet {

enum class MessageKind { Warning, Error, Information };

enum class Answer { Yes, No, Cancel };

struct FolderPickerRequest {
    QString Title;
    QString RootFolder;        // empty: the whole file system
    QString InitialSelection;  // may be empty
    bool IncludeFiles = false;
};

// Everything the program asks or tells the user in a standard box or dialog goes through here,
// so that tests can answer in its place.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box with an OK button and the standard title of its kind.
    virtual void ShowMessage(QWidget* owner, MessageKind kind, const QString& text) = 0;
    // A confirmation box with Yes and No; true only on Yes.
    virtual bool Confirm(QWidget* owner, const QString& text) = 0;
    // A question box with Yes, No and Cancel; Escape and closing the box answer Cancel.
    virtual Answer AskYesNoCancel(QWidget* owner, const QString& text) = 0;
    // A warning box with Yes and No, No the default button, for a risky step that Enter alone
    // must not take.
    virtual bool ConfirmDefaultNo(QWidget* owner, const QString& text) = 0;
    // The standard open and save dialogs; an empty result means cancelled. The filter is written
    // as the language files hold it: "Description|patterns|Description|patterns", patterns
    // separated by ';' (for example "Tomlet files (*.tml)|*.tml|Any files|*.*"). The save dialog
    // asks before overwriting a file.
    virtual QString OpenFileName(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& folder) = 0;
    virtual QString SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& folder) = 0;
    // The open dialog choosing any number of files; empty when cancelled.
    virtual QStringList OpenFileNames(QWidget* owner, const QString& title, const QString& filter,
                                      const QString& folder) = 0;
    // The folder picker; an empty result means cancelled.
    virtual QString PickFolder(QWidget* owner, const FolderPickerRequest& request) = 0;
};

}  // namespace tomlet

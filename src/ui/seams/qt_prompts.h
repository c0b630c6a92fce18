#pragma once

#include "ui/seams/prompts.h"

namespace tomlet {

// The real prompts: the standard message boxes, file dialogs and the folder picker.
class QtPrompts final : public Prompts {
public:
    void ShowMessage(QWidget* owner, MessageKind kind, const QString& text) override;
    bool Confirm(QWidget* owner, const QString& text) override;
    Answer AskYesNoCancel(QWidget* owner, const QString& text) override;
    bool ConfirmDefaultNo(QWidget* owner, const QString& text) override;
    QString OpenFileName(QWidget* owner, const QString& title, const QString& filter,
                         const QString& folder) override;
    QString SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                         const QString& folder) override;
    QStringList OpenFileNames(QWidget* owner, const QString& title, const QString& filter,
                              const QString& folder) override;
    QString PickFolder(QWidget* owner, const FolderPickerRequest& request) override;
};

// The message box behind ShowMessage, for the few places inside the real prompts that need one.
void ShowStandardMessage(QWidget* owner, MessageKind kind, const QString& text);

// "Description|patterns|Description|patterns" (patterns separated by ';') in Qt's form:
// "Description (patterns);;Description (patterns)". "*.*" becomes "*", which matches every file.
QString ToQtFileFilter(const QString& filter);

}  // namespace tomlet

#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <ostream>
#include <vector>

#include "ui/seams/prompts.h"

namespace tomlet::testing {

// Answers in the user's place and records everything it was asked or told.
class FakePrompts final : public Prompts {
public:
    struct Message {
        MessageKind Kind;
        QString Text;
        bool operator==(const Message&) const = default;
    };

    // Answers, used in order (both kinds of confirmation take ConfirmAnswers); when a queue is
    // empty the prompt answers No or Cancel.
    std::deque<bool> ConfirmAnswers;
    std::deque<Answer> QuestionAnswers;
    std::deque<QString> OpenAnswers;
    std::deque<QString> SaveAnswers;
    std::deque<QStringList> OpenManyAnswers;
    std::deque<QString> FolderAnswers;

    // What the program showed or asked.
    std::vector<Message> Messages;
    QStringList Confirmations;
    QStringList Questions;               // asked with Yes, No and Cancel
    QStringList DefaultNoConfirmations;  // asked with No preselected
    std::vector<FolderPickerRequest> FolderRequests;
    QStringList FileDialogTitles;
    QStringList FileDialogFilters;
    QStringList FileDialogFolders;  // where each file dialog started

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

    // The texts of every message shown, in order.
    QStringList MessageTexts() const;
};

// What FakePrompts records when the program showed this one message.
std::vector<FakePrompts::Message> OnlyMessage(MessageKind kind, const QString& text);
void PrintTo(const FakePrompts::Message& message, std::ostream* out);

}  // namespace tomlet::testing

#include "support/fake_prompts.h"

namespace tomlet::testing {

namespace {
template <class T>
T TakeFront(std::deque<T>& answers, T fallback) {
    if (answers.empty())
        return fallback;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
}  // namespace

void FakePrompts::ShowMessage(QWidget*, MessageKind kind, const QString& text) {
    Messages.push_back({kind, text});
}

bool FakePrompts::Confirm(QWidget*, const QString& text) {
    Confirmations.append(text);
    return TakeFront(ConfirmAnswers, false);
}

Answer FakePrompts::AskYesNoCancel(QWidget*, const QString& text) {
    Questions.append(text);
    return TakeFront(QuestionAnswers, Answer::Cancel);
}

bool FakePrompts::ConfirmDefaultNo(QWidget*, const QString& text) {
    DefaultNoConfirmations.append(text);
    return TakeFront(ConfirmAnswers, false);
}

QString FakePrompts::OpenFileName(QWidget*, const QString& title, const QString& filter,
                                  const QString& folder) {
    FileDialogTitles.append(title);
    FileDialogFilters.append(filter);
    FileDialogFolders.append(folder);
    return TakeFront(OpenAnswers, QString());
}

QString FakePrompts::SaveFileName(QWidget*, const QString& title, const QString& filter,
                                  const QString& folder) {
    FileDialogTitles.append(title);
    FileDialogFilters.append(filter);
    FileDialogFolders.append(folder);
    return TakeFront(SaveAnswers, QString());
}

QStringList FakePrompts::OpenFileNames(QWidget*, const QString& title, const QString& filter,
                                       const QString& folder) {
    FileDialogTitles.append(title);
    FileDialogFilters.append(filter);
    FileDialogFolders.append(folder);
    return TakeFront(OpenManyAnswers, QStringList());
}

QString FakePrompts::PickFolder(QWidget*, const FolderPickerRequest& request) {
    FolderRequests.push_back(request);
    return TakeFront(FolderAnswers, QString());
}

QStringList FakePrompts::MessageTexts() const {
    QStringList texts;
    for (const Message& message : Messages)
        texts.append(message.Text);
    return texts;
}

std::vector<FakePrompts::Message> OnlyMessage(MessageKind kind, const QString& text) {
    return {{kind, text}};
}

void PrintTo(const FakePrompts::Message& message, std::ostream* out) {
    constexpr const char* kinds[] = {"Warning", "Error", "Information"};
    *out << kinds[static_cast<int>(message.Kind)] << ": " << message.Text.toStdString();
}

}  // namespace tomlet::testing

#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace tomlet {

class CommandRunner;
class Prompts;
class Tfrm_Shelf;

// File > "Shelf...": the main window's one Shelf window, made when first asked for, on the shelf
// that DefaultShelfPath names. A hit chosen there (Enter or a double click) reaches the window's
// `openObject` as a command, so that it is refused while the main window is busy.
class ShelfCommands final {
public:
    using OpenObject = std::function<void(const QString& cataloguePath, int objectIndex)>;

    ShelfCommands(QWidget& window, Prompts& prompts, CommandRunner& commands,
                  OpenObject openObject);
    ~ShelfCommands();
    ShelfCommands(const ShelfCommands&) = delete;
    ShelfCommands& operator=(const ShelfCommands&) = delete;

    // Shows the Shelf window, in front.
    void a_files_item_ShelfExecute();
    // Whether the shelf is being indexed; the Shelf window, and so the main window, must stay
    // open until that ends or is cancelled.
    bool IsBusy() const;
    // After a change of language: the Shelf window in the new language.
    void Retranslate();
    // Closes the Shelf window with the main window.
    void Close();

private:
    QWidget& m_window;
    Prompts& m_prompts;
    CommandRunner& m_commands;
    OpenObject m_openObject;
    // A child window of the main window, so that it goes with it.
    std::unique_ptr<Tfrm_Shelf> m_shelf;
};

}  // namespace tomlet

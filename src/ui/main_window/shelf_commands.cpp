#include "ui/main_window/shelf_commands.h"

#include "core/shelf.h"
#include "ui/main_window/command_runner.h"
#include "ui/shelf/shelf_window.h"

namespace tomlet {

ShelfCommands::ShelfCommands(QWidget& window, Prompts& prompts, CommandRunner& commands,
                             OpenObject openObject)
    : m_window(window),
      m_prompts(prompts),
      m_commands(commands),
      m_openObject(std::move(openObject)) {}

ShelfCommands::~ShelfCommands() = default;

void ShelfCommands::a_files_item_ShelfExecute() {
    if (!m_shelf) {
        m_shelf = std::make_unique<Tfrm_Shelf>(m_prompts, DefaultShelfPath(), &m_window);
        m_commands.ConnectSignal(
            m_shelf.get(), &Tfrm_Shelf::OpenRequested,
            [this](const QString& path, int index) { m_openObject(path, index); });
    }
    m_shelf->show();
    m_shelf->raise();
    m_shelf->activateWindow();
}

bool ShelfCommands::IsBusy() const {
    return m_shelf && m_shelf->IsBusy();
}

void ShelfCommands::Retranslate() {
    if (m_shelf)
        m_shelf->Retranslate();
}

void ShelfCommands::Close() {
    if (m_shelf)
        m_shelf->close();
}

}  // namespace tomlet

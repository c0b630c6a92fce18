#include "ui/main_window/shelf_commands.h"

#include <QRect>

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

void ShelfCommands::Create() {
    m_shelf = std::make_unique<Tfrm_Shelf>(m_prompts, DefaultShelfPath(), &m_window);
    m_stale = false;
    m_commands.ConnectSignal(m_shelf.get(), &Tfrm_Shelf::OpenRequested,
                             [this](const QString& path, int index) { m_openObject(path, index); });
}

void ShelfCommands::a_files_item_ShelfExecute() {
    if (m_stale)
        Retranslate();
    if (!m_shelf)
        Create();
    m_shelf->show();
    m_shelf->raise();
    m_shelf->activateWindow();
}

bool ShelfCommands::IsBusy() const {
    return m_shelf && m_shelf->IsBusy();
}

void ShelfCommands::Retranslate() {
    if (!m_shelf)
        return;
    if (IsBusy()) {
        m_stale = true;
        return;
    }
    const bool shown = m_shelf->isVisible();
    const QRect place = m_shelf->geometry();
    m_shelf.reset();
    if (!shown)
        return;
    Create();
    m_shelf->setGeometry(place);
    m_shelf->show();
}

void ShelfCommands::Close() {
    if (m_shelf)
        m_shelf->close();
}

}  // namespace tomlet

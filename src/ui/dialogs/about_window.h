#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/system_info.h"

class QLocale;

namespace tomlet {

// What the about window tells about the program and the machine.
struct AboutFacts {
    std::string OsLine;  // process code page
    std::optional<MemoryStatus> Memory;
    std::optional<FileVersion> Version;
};

// The facts of this program on this machine.
AboutFacts GatherAboutFacts();

// Total physical memory in KB with the locale's thousands separator: "523,744 KB".
QString TotalMemoryText(std::uint64_t totalBytes, const QLocale& locale);

// The about window: the program's name, version and build flags, the copyright and maker lines,
// the operating system and the physical memory. Created per use and shown modally.
class Tfrm_About final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tfrm_About)

public:
    explicit Tfrm_About(QWidget* parent = nullptr);
    explicit Tfrm_About(const AboutFacts& facts, QWidget* parent = nullptr);

private:
    void BuildControls();
    void FormCreate(const AboutFacts& facts);
};

}  // namespace tomlet

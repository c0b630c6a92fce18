#include "ui/dialogs/about_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/language_file.h"
#include "core/version.h"
#include "ui/base/named.h"
#include "ui/base/program_pictures.h"
#include "ui/base/qt_text.h"
#include "ui/base/translate.h"

namespace tomlet {

namespace {

constexpr int DescriptionLinesShown = 4;

QLabel* Label(QWidget* parent, const char* name, const QString& text = QStringLiteral("-")) {
    return Named(new QLabel(text, parent), name);
}

template <class Widget>
Widget& Child(const QWidget& window, const char* name) {
    return *window.findChild<Widget*>(QLatin1String(name));
}

}  // namespace

AboutFacts GatherAboutFacts() {
    return {OperatingSystemLine(), QueryMemoryStatus(), ExecutableFileVersion()};
}

QString TotalMemoryText(std::uint64_t totalBytes, const QLocale& locale) {
    return locale.toString(static_cast<qulonglong>(totalBytes / 1024)) + QStringLiteral(" KB");
}

Tfrm_About::Tfrm_About(QWidget* parent) : Tfrm_About(GatherAboutFacts(), parent) {}

Tfrm_About::Tfrm_About(const AboutFacts& facts, QWidget* parent) : QDialog(parent) {
    BuildControls();
    FormCreate(facts);
}

void Tfrm_About::BuildControls() {
    setObjectName(QStringLiteral("frm_About"));
    setWindowTitle(QStringLiteral("О программе"));

    auto* icon = Label(this, "image_ProgramIcon", QString());
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setFixedSize(32, 32);
    icon->setScaledContents(true);

    auto* name = Label(this, "label_NameProgs");
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPixelSize(15);
    name->setFont(bold);

    auto* description = Named(new QPlainTextEdit(this), "memo_Description");
    description->setReadOnly(true);
    description->setFrameShape(QFrame::NoFrame);
    description->setFixedWidth(285);
    QPalette buttonFace = description->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Window));
    description->setPalette(buttonFace);
    description->setFocusPolicy(Qt::NoFocus);
    description->document()->setDocumentMargin(0);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* memory = new QGridLayout;
    memory->addWidget(Label(this, "label_TotalMemory", QStringLiteral("Total memory:")), 0, 0);
    memory->addWidget(Label(this, "lbl_TotalMem_I"), 0, 1, Qt::AlignRight);
    memory->addWidget(Label(this, "label_MemoryUsed", QStringLiteral("Memory used:")), 1, 0);
    memory->addWidget(Label(this, "lbl_MemoryUsed_I"), 1, 1, Qt::AlignRight);
    memory->setVerticalSpacing(2);

    auto* text = new QVBoxLayout;
    text->setSpacing(3);
    text->addWidget(name);
    text->addWidget(Label(this, "label_Version"));
    text->addWidget(Label(this, "label_Copyright"));
    text->addWidget(description);
    text->addWidget(bevel);
    text->addWidget(Label(this, "Os"));
    text->addLayout(memory);

    auto* ok = Named(new QPushButton(QStringLiteral("Ok"), this), "button_Ok");
    ok->setDefault(true);
    ok->setMinimumWidth(82);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);  // Esc rejects, which also closes

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(28, 12, 9, 9);
    layout->setHorizontalSpacing(40);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addLayout(text, 0, 1);
    layout->addWidget(ok, 1, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tfrm_About::FormCreate(const AboutFacts& facts) {
    TranslateForm(this, CurrentLanguageFile(), true);
    Child<QLabel>(*this, "Os").setText(ToQString(facts.OsLine));
    Child<QLabel>(*this, "label_NameProgs").setText(QStringLiteral("Tomlet"));
    Child<QLabel>(*this, "label_Copyright")
        .setText(QStringLiteral("Copyright © 2026 Tomlet developers"));

    if (facts.Memory) {
        Child<QLabel>(*this, "lbl_TotalMem_I")
            .setText(TotalMemoryText(facts.Memory->TotalPhysicalBytes, QLocale()));
        Child<QLabel>(*this, "lbl_MemoryUsed_I")
            .setText(ToQString(MemoryLoadText(facts.Memory->LoadPercent)));
    }

    const std::uint32_t flags = facts.Version ? facts.Version->Flags : 0;
    if (facts.Version) {
        const FileVersion& version = *facts.Version;
        Child<QLabel>(*this, "label_Version")
            .setText(ToQString(
                VersionLine({version.Major, version.Minor, version.Release, version.Build})));
    }
    auto& description = Child<QPlainTextEdit>(*this, "memo_Description");
    description.clear();
    for (const std::string& line : DescriptionLines(flags))
        description.appendPlainText(ToQString(line));
    // Tall enough for every line, so that a build flag line shows without scrolling.
    const int lines = std::max(DescriptionLinesShown, description.document()->blockCount());
    description.setFixedHeight(description.fontMetrics().lineSpacing() * (lines + 1));
    description.moveCursor(QTextCursor::Start);
}

}  // namespace tomlet

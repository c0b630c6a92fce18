#include "ui/base/access_letters.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QShortcut>
#include <QToolButton>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace tomlet {

namespace {

// The item's text before a letter was chosen for it, and the text with that letter.
constexpr char PlainTextProperty[] = "tomletTextWithoutAccessLetter";
constexpr char MarkedTextProperty[] = "tomletTextWithAccessLetter";
constexpr char NoLetterProperty[] = "tomletWithoutAccessLetter";

// The letter a text marks with a single '&'; "&&" is an ampersand.
std::optional<QChar> MarkedLetter(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1];
        ++i;
    }
    return std::nullopt;
}

QChar Folded(QChar letter) {
    return letter.toCaseFolded();
}

bool TakesLetter(const QAction& item) {
    return !item.isSeparator() && !item.text().isEmpty() &&
           !item.property(NoLetterProperty).toBool();
}

// Where to mark a letter of `text` that `used` does not hold: the first free start of a word,
// else the first free letter or digit, else the first free visible sign ("?"); -1 when none is
// free.
qsizetype ChooseLetter(const QString& text, const QSet<QChar>& used) {
    qsizetype letter = -1;
    qsizetype sign = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&' || c.isSpace() || !c.isPrint() || used.contains(Folded(c)))
            continue;
        if (!c.isLetterOrNumber()) {
            sign = sign < 0 ? i : sign;
        } else if (i == 0 || !text[i - 1].isLetterOrNumber()) {
            return i;
        } else {
            letter = letter < 0 ? i : letter;
        }
    }
    return letter >= 0 ? letter : sign;
}

// A text that takes an access letter: a menu item's, a button's, a group's or a field label's.
struct Caption {
    QObject* Holder;
    std::function<QString()> Text;
    std::function<void(const QString&)> SetText;
};

Caption CaptionOf(QAction& item) {
    return {&item, [&item] { return item.text(); },
            [&item](const QString& text) { item.setText(text); }};
}

void MarkLetter(const Caption& caption, QSet<QChar>& used) {
    const QString text = caption.Text();
    const qsizetype at = ChooseLetter(text, used);
    if (at < 0)
        return;
    used.insert(Folded(text[at]));
    QString marked = text;
    marked.insert(at, u'&');
    caption.Holder->setProperty(PlainTextProperty, text);
    caption.Holder->setProperty(MarkedTextProperty, marked);
    caption.SetText(marked);
}

// Takes back a letter chosen before, unless the text has been replaced since.
void TakeBackLetter(const Caption& caption) {
    const QVariant marked = caption.Holder->property(MarkedTextProperty);
    if (!marked.isValid())
        return;
    if (caption.Text() == marked.toString())
        caption.SetText(caption.Holder->property(PlainTextProperty).toString());
    caption.Holder->setProperty(PlainTextProperty, QVariant());
    caption.Holder->setProperty(MarkedTextProperty, QVariant());
}

QSet<QChar> LettersHeld(const QList<QAction*>& items, const QAction* except = nullptr) {
    QSet<QChar> used;
    for (const QAction* item : items) {
        if (item == except || !TakesLetter(*item))
            continue;
        if (const auto letter = MarkedLetter(item->text()))
            used.insert(Folded(*letter));
    }
    return used;
}

// Letters for the captions that mark none, unique among all of them.
void AssignAmong(const std::vector<Caption>& captions) {
    QSet<QChar> used;
    for (const Caption& caption : captions) {
        if (const auto letter = MarkedLetter(caption.Text()))
            used.insert(Folded(*letter));
    }
    for (const Caption& caption : captions) {
        if (!MarkedLetter(caption.Text()))
            MarkLetter(caption, used);
    }
}

void AssignInMenu(const QList<QAction*>& items) {
    std::vector<Caption> captions;
    for (QAction* item : items) {
        if (TakesLetter(*item))
            captions.push_back(CaptionOf(*item));
    }
    AssignAmong(captions);
}

// The dialog's controls a user reaches by a letter: buttons, check and radio boxes, group boxes
// and the labels of fields. Tool buttons show an action, whose text the menus letter.
std::vector<Caption> ControlCaptions(QWidget& dialog) {
    std::vector<Caption> captions;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty() && qobject_cast<QToolButton*>(button) == nullptr)
            captions.push_back({button, [button] { return button->text(); },
                                [button](const QString& text) { button->setText(text); }});
    }
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (!group->title().isEmpty())
            captions.push_back({group, [group] { return group->title(); },
                                [group](const QString& text) { group->setTitle(text); }});
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && !label->text().isEmpty())
            captions.push_back({label, [label] { return label->text(); },
                                [label](const QString& text) { label->setText(text); }});
    }
    return captions;
}

}  // namespace

void AssignAccessLetters(QWidget& window) {
    QList<QList<QAction*>> menus;
    for (const QMenuBar* bar : window.findChildren<QMenuBar*>())
        menus.append(bar->actions());
    for (const QMenu* menu : window.findChildren<QMenu*>())
        menus.append(menu->actions());
    for (const QList<QAction*>& items : menus) {
        for (QAction* item : items)
            TakeBackLetter(CaptionOf(*item));
    }
    for (const QList<QAction*>& items : menus)
        AssignInMenu(items);
}

void AssignAccessLetter(const QMenu& menu, QAction& item) {
    TakeBackLetter(CaptionOf(item));
    if (!TakesLetter(item) || MarkedLetter(item.text()))
        return;
    QSet<QChar> used = LettersHeld(menu.actions(), &item);
    MarkLetter(CaptionOf(item), used);
}

void AssignControlAccessLetters(QWidget& dialog) {
    const std::vector<Caption> captions = ControlCaptions(dialog);
    for (const Caption& caption : captions)
        TakeBackLetter(caption);
    AssignAmong(captions);
}

void KeepWithoutAccessLetter(QAction& item) {
    item.setProperty(NoLetterProperty, true);
}

QString WithoutAccessLetter(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;  // the mark goes; of "&&" one '&' stays
        plain.append(text[i]);
    }
    return plain;
}

void OpenMenuBarByF10(QMenuBar& bar) {
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar.window());
    QObject::connect(f10, &QShortcut::activated, &bar, [&bar] {
        if (bar.isHidden())
            return;
        for (QAction* title : bar.actions()) {
            if (title->isVisible()) {
                bar.setActiveAction(title);
                return;
            }
        }
    });
}

}  // namespace tomlet

#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace tomlet {

// Access letters: every title of a window's menu bar and every item of its menus gets a letter,
// unique within its menu, marked by '&' in its text ("&File"), so that Alt and the letter open a
// menu and the letter alone chooses an item of an open menu. Letters are chosen from the starts
// of words first. A text that marks a letter of its own (a translator's "&Файл") keeps it, and
// items kept without a letter (the languages) get none.
//
// The window runs this when its menus are built and after every translation; letters it chose
// before and that the texts still hold are chosen afresh, so that a new language's captions get
// letters of their own.
void AssignAccessLetters(QWidget& window);

// The same rule for a dialog's controls: every button, group box and label with a buddy gets a
// letter unique within the dialog, so that Alt and the letter reach each control. The dialog
// runs this after its texts are translated, and again after it changes a text.
void AssignControlAccessLetters(QWidget& dialog);

// Gives one item of a menu a letter that no other item of the menu holds: for an item whose
// text is set as the menu opens.
void AssignAccessLetter(const QMenu& menu, QAction& item);

void KeepWithoutAccessLetter(QAction& item);

// The text as it reads without its access letter's mark ("&&" stays a single '&').
QString WithoutAccessLetter(const QString& text);

// F10 opens the first menu of the menu bar, as on other desktop programs; nothing while the bar
// is hidden.
void OpenMenuBarByF10(QMenuBar& bar);

}  // namespace tomlet

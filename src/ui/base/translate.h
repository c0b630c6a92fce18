#pragma once

#include <string>

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace tomlet {

// Translates a window from the language file at `path`. The section is
// the window's objectName; each named component that currently holds a text asks for the key
// "<name>.<property>":
//   Caption  a label's, button's or action's text, a group box's or menu's title, a tab page's
//            tab text (and "Form.Caption", the window title, when translateCaption is on);
//   Hint     a widget's tool tip, an action's status tip (set as its tool tip too), with "##"
//            read as a line break;
//   Title, Filter  the "Title" and "Filter" properties of any named object (the file dialogs'
//            texts the window keeps).
// Widgets bound to an action are left to the action, and a separator is never translated. The
// file is read once for all of them, and the keys not found are added to it empty in one
// replacement. A missing file changes nothing. The window's menus get access letters afresh
// (access_letters.h). False when the file exists but cannot be read; nothing is translated then.
//
// Every translated window calls this first in its constructor, before setting texts of its own:
//   TranslateForm(this, CurrentLanguageFile(), true);
bool TranslateForm(QWidget* window, const std::string& path, bool translateCaption);

// Marks a widget that shows an action's texts and is kept in step with it by its window (such as
// a push button that triggers the action): TranslateForm translates the action, not the widget.
// A tool button with a default action needs no mark.
void MarkBoundToAction(QWidget& widget, QAction& action);

// The main window's language steps at start-up, with the program's data folder (which holds
// tomlet.ini and the language files): takes the language the user chose where tomlet.ini could
// not keep it, else reads "_Language", sets CurrentLanguageFile, translates the window with its
// caption left alone and loads the catalogue. False when any of it failed (the caller says
// "Cant open Inifile!").
bool LoadLanguageAtStart(QWidget& mainWindow, const std::string& dataFolder);

// Fills the Language submenu with one unnamed item per language of the data folder, without
// access letters; the current language is the checked one. The window connects each item to
// menu_LanguageSelectClick.
void BuildLanguageMenu(QMenu& menu_Language, QWidget& mainWindow, const std::string& dataFolder);

// A language item was clicked: remembers the choice in the settings file (or, where that cannot
// be written, in the user's preferences), checks it, translates the main window and reloads the
// catalogue. Nothing happens when the language file is gone.
void menu_LanguageSelectClick(QWidget& mainWindow, const std::string& dataFolder, QObject* sender);

}  // namespace tomlet

#include "ui/base/translate.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QVariant>
#include <QWidget>
#include <exception>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/language_file.h"
#include "core/paths.h"
#include "core/settings.h"
#include "platform/file_system.h"
#include "ui/base/access_letters.h"
#include "ui/base/qt_text.h"
#include "ui/base/qt_translations.h"
#include "ui/base/user_preferences.h"

namespace tomlet {

using namespace Qt::StringLiterals;

namespace {

constexpr char BoundActionProperty[] = "tomletBoundAction";

// One text of a component as the language file sees it.
struct TextProperty {
    std::function<QString()> Get;
    std::function<void(const QString&)> Set;
};

// The tab widget showing `page` as one of its pages, with the page's index.
std::optional<std::pair<QTabWidget*, int>> TabOf(QWidget& page) {
    QWidget* stack = page.parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    const int index = tabs ? tabs->indexOf(&page) : -1;
    if (index < 0)
        return std::nullopt;
    return std::pair{tabs, index};
}

std::optional<TextProperty> CaptionProperty(QObject& object) {
    if (auto* action = qobject_cast<QAction*>(&object)) {
        if (action->isSeparator())
            return std::nullopt;
        return TextProperty{[action] { return action->text(); },
                            [action](const QString& text) { action->setText(text); }};
    }
    if (auto* menu = qobject_cast<QMenu*>(&object))
        return TextProperty{[menu] { return menu->title(); },
                            [menu](const QString& text) { menu->setTitle(text); }};
    if (auto* label = qobject_cast<QLabel*>(&object))
        return TextProperty{[label] { return label->text(); },
                            [label](const QString& text) { label->setText(text); }};
    if (auto* button = qobject_cast<QAbstractButton*>(&object))
        return TextProperty{[button] { return button->text(); },
                            [button](const QString& text) { button->setText(text); }};
    if (auto* group = qobject_cast<QGroupBox*>(&object))
        return TextProperty{[group] { return group->title(); },
                            [group](const QString& text) { group->setTitle(text); }};
    if (auto* page = qobject_cast<QWidget*>(&object)) {
        if (const auto tab = TabOf(*page)) {
            // Not a structured binding: clang before 16 cannot capture one.
            QTabWidget* const tabs = tab->first;
            const int index = tab->second;
            return TextProperty{
                [tabs, index] { return tabs->tabText(index); },
                [tabs, index](const QString& text) { tabs->setTabText(index, text); }};
        }
    }
    return std::nullopt;
}

std::optional<TextProperty> HintProperty(QObject& object) {
    if (auto* action = qobject_cast<QAction*>(&object)) {
        return TextProperty{[action] { return action->statusTip(); },
                            [action](const QString& text) {
                                action->setToolTip(text);
                                action->setStatusTip(text);
                            }};
    }
    if (auto* widget = qobject_cast<QWidget*>(&object))
        return TextProperty{[widget] { return widget->toolTip(); },
                            [widget](const QString& text) { widget->setToolTip(text); }};
    return std::nullopt;
}

// The "Title" or "Filter" property of an object that describes a dialog (capitalised, unlike
// Qt's own "title" of group boxes and menus, which is a caption).
std::optional<TextProperty> DialogProperty(QObject& object, const char* name) {
    if (object.property(name).typeId() != QMetaType::QString)
        return std::nullopt;
    QObject* target = &object;
    return TextProperty{[target, name] { return target->property(name).toString(); },
                        [target, name](const QString& text) { target->setProperty(name, text); }};
}

bool IsBoundToAction(const QObject& object) {
    if (const auto* button = qobject_cast<const QToolButton*>(&object);
        button && button->defaultAction())
        return true;
    return object.property(BoundActionProperty).value<QAction*>() != nullptr;
}

// Gathers the texts a window asks its language file for, then looks them all up in one pass over
// the file and sets those it gives.
class WindowTranslator final {
public:
    explicit WindowTranslator(const QWidget& window)
        : m_section(FromQString(window.objectName())) {}

    // Asks for "<name>.<key>" whatever the property holds now.
    void AskAlways(const QString& name, std::string_view key, TextProperty property) {
        m_requests.push_back(
            {FromQString(name) + "." + std::string(key), key == "Hint", std::move(property)});
    }

    // Asks only for a property that holds a text, so a separator's "-" is never translated.
    void Ask(const QString& name, std::string_view key, std::optional<TextProperty> property) {
        if (!property)
            return;
        const QString current = property->Get();
        if (current.isEmpty() || current == "-"_L1)
            return;
        AskAlways(name, key, std::move(*property));
    }

    void AskComponent(QObject& component) {
        const QString name = component.objectName();
        if (name.isEmpty())
            return;
        if (!IsBoundToAction(component)) {
            Ask(name, "Caption", CaptionProperty(component));
            Ask(name, "Hint", HintProperty(component));
        }
        Ask(name, "Title", DialogProperty(component, "Title"));
        Ask(name, "Filter", DialogProperty(component, "Filter"));
    }

    // Hints read "##" as a line break.
    void Translate(const std::string& path) {
        std::vector<IniKey> keys;
        keys.reserve(m_requests.size());
        for (const Request& request : m_requests)
            keys.push_back({m_section, request.Key});
        const auto values = LanguageFile(path).Lookup(keys);
        for (std::size_t i = 0; i < m_requests.size(); ++i) {
            if (!values[i])
                continue;
            const Request& request = m_requests[i];
            request.Property.Set(
                ToQString(request.IsHint ? ExpandLineBreaks(*values[i]) : *values[i]));
        }
    }

private:
    struct Request {
        std::string Key;
        bool IsHint = false;
        TextProperty Property;
    };

    std::string m_section;
    std::vector<Request> m_requests;
};

std::string LanguagePath(const std::string& dataFolder, const std::string& language) {
    return LanguageFilePath(dataFolder, language + ".lng");
}

// A user's choice that tomlet.ini could not keep (an installed program's shared folder, a
// read-only disc) comes first; then "_Language" of tomlet.ini. The program's data folder keys
// the user's choice.
std::string StartupLanguage(const std::string& dataFolder) {
    if (const auto chosen = UserPreferences().Language(ToQString(dataFolder))) {
        const std::string language = FromQString(*chosen);
        if (IsPlainFileName(language + ".lng") && FileExists(LanguagePath(dataFolder, language)))
            return language;
    }
    return ReadLanguageSetting(dataFolder);
}

// tomlet.ini keeps the choice where it can be written, as on a disc; elsewhere the user's
// preferences keep it.
void RememberLanguage(const std::string& dataFolder, const std::string& language) {
    UserPreferences preferences;
    if (WriteLanguageSetting(dataFolder, language))
        preferences.ForgetLanguage(ToQString(dataFolder));
    else
        preferences.SetLanguage(ToQString(dataFolder), ToQString(language));
}

// The window's own texts are English: with no language file in use, English is the language.
void CheckCurrentLanguage(const std::string& dataFolder, const QActionGroup& languages) {
    const bool translated = FileExists(CurrentLanguageFile());
    for (QAction* item : languages.actions()) {
        const std::string language = FromQString(item->data().toString());
        item->setChecked(translated ? LanguagePath(dataFolder, language) == CurrentLanguageFile()
                                    : language == "English");
    }
}

}  // namespace

bool TranslateForm(QWidget* window, const std::string& path, bool translateCaption) {
    if (!window || !FileExists(path))
        return true;
    try {
        WindowTranslator translator(*window);
        if (translateCaption) {
            translator.AskAlways(u"Form"_s, "Caption",
                                 {[window] { return window->windowTitle(); },
                                  [window](const QString& text) { window->setWindowTitle(text); }});
        }
        for (QObject* component : window->findChildren<QObject*>())
            translator.AskComponent(*component);
        translator.Translate(path);
        AssignAccessLetters(*window);  // the new captions need letters of their own
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void MarkBoundToAction(QWidget& widget, QAction& action) {
    widget.setProperty(BoundActionProperty, QVariant::fromValue(&action));
}

bool LoadLanguageAtStart(QWidget& mainWindow, const std::string& dataFolder) {
    try {
        const std::string language = StartupLanguage(dataFolder);
        SetCurrentLanguageFile(LanguagePath(dataFolder, language));
        UseQtTranslation(ToQString(language));
    } catch (const std::exception&) {
        return false;
    }
    return TranslateForm(&mainWindow, CurrentLanguageFile(), false) &&
           LoadCatalogue(CurrentLanguageFile());
}

void BuildLanguageMenu(QMenu& menu_Language, QWidget& mainWindow, const std::string& dataFolder) {
    auto* group = new QActionGroup(&menu_Language);
    for (const std::string& language : ListLanguages(dataFolder)) {
        const QString name = ToQString(language);
        QString caption = name;
        auto* item = new QAction(caption.replace(u'&', u"&&"_s), &mainWindow);
        item->setData(name);
        item->setCheckable(true);
        KeepWithoutAccessLetter(*item);
        group->addAction(item);
        menu_Language.addAction(item);
    }
    CheckCurrentLanguage(dataFolder, *group);
}

void menu_LanguageSelectClick(QWidget& mainWindow, const std::string& dataFolder, QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    if (!item)
        return;
    const std::string language = FromQString(item->data().toString());
    if (const std::string path = LanguagePath(dataFolder, language); FileExists(path)) {
        RememberLanguage(dataFolder, language);
        SetCurrentLanguageFile(path);
        UseQtTranslation(item->data().toString());
        TranslateForm(&mainWindow, path, false);
        LoadCatalogue(path);
    }
    // The item has checked itself, also where the choice did nothing.
    if (item->actionGroup())
        CheckCurrentLanguage(dataFolder, *item->actionGroup());
}

}  // namespace tomlet

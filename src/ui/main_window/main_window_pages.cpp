#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/limits.h"
#include "core/records.h"
#include "ui/base/named.h"
#include "ui/main_window/main_window_ui.h"
#include "ui/tree/object_tree_view.h"

namespace tomlet {

namespace {

constexpr int BrowserBottomHeight = 130;
constexpr int BrowserDescriptionWidth = 242;

QLabel* MakeLabel(const char* name, const char* caption, QWidget* buddy = nullptr) {
    auto* label = Named(new QLabel(QString::fromUtf8(caption)), name);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* MakeEdit(const char* name, const char* hint = "") {
    auto* edit = Named(new QLineEdit, name);
    edit->setToolTip(QString::fromUtf8(hint));
    return edit;
}

QIcon EllipsisIcon(const QWidget& owner) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(owner.palette().color(QPalette::ButtonText));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("\u2026"));
    return QIcon(picture);
}

// An edit that cannot be typed into; only its button (the returned action) sets it.
QLineEdit* MakeButtonEdit(const char* name, const char* hint, QAction*& button) {
    QLineEdit* edit = MakeEdit(name, hint);
    edit->setReadOnly(true);
    button = edit->addAction(EllipsisIcon(*edit), QLineEdit::TrailingPosition);
    return edit;
}

QPlainTextEdit* MakeMemo(const char* name, bool readOnly = false) {
    auto* memo = Named(new QPlainTextEdit, name);
    memo->setReadOnly(readOnly);
    // Tab leaves the box, as in every other field; a text rarely needs a tab character.
    memo->setTabChangesFocus(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return memo;
}

QComboBox* MakeList(const char* name, auto displayNames) {
    auto* list = Named(new QComboBox, name);
    for (std::string_view item : displayNames)
        list->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    list->setCurrentIndex(-1);
    return list;
}

QLabel* MakeTitleLabel(const char* name, int pixelSize) {
    auto* label = Named(new QLabel, name);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);  // a project's name is never markup
    return label;
}

QWidget* Column(QWidget* top, QWidget* rest) {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(top);
    layout->addWidget(rest, 1);
    return column;
}

ObjectTreeView* MakeTree() {
    auto* tree = new ObjectTreeView;
    tree->setUniformRowHeights(true);
    tree->setExpandsOnDoubleClick(true);
    return tree;
}

void BuildBrowserPage(MainWindowUi& ui) {
    auto* layout = new QVBoxLayout(ui.tabsheet_View);
    layout->setContentsMargins(4, 4, 4, 4);

    ui.label_BrowserProjectName = MakeTitleLabel("label_BrowserProjectName", 16);
    auto* shadow = new QGraphicsDropShadowEffect(ui.label_BrowserProjectName);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(3);
    shadow->setColor(QColor(0, 0, 0, 110));
    ui.label_BrowserProjectName->setGraphicsEffect(shadow);
    ui.label_BrowserProjectName2 = MakeTitleLabel("label_BrowserProjectName2", 13);
    layout->addWidget(ui.label_BrowserProjectName);
    layout->addWidget(ui.label_BrowserProjectName2);

    auto* treeHolder = new QWidget;
    ui.browserTreeSlot = new QVBoxLayout(treeHolder);
    ui.browserTreeSlot->setContentsMargins(0, 0, 0, 0);

    ui.label_BrowserComments = MakeLabel("label_BrowserComments", "   Comments");
    ui.memo_BrowserComments = MakeMemo("memo_BrowserComments", true);
    ui.label_BrowserProjectDescription =
        MakeLabel("label_BrowserProjectDescription", "   About project");
    ui.memo_BrowserProjectDescription = MakeMemo("memo_BrowserProjectDescription", true);
    QWidget* description =
        Column(ui.label_BrowserProjectDescription, ui.memo_BrowserProjectDescription);

    ui.browserBottomSplitter = new QSplitter(Qt::Horizontal);
    ui.browserBottomSplitter->addWidget(Column(ui.label_BrowserComments, ui.memo_BrowserComments));
    ui.browserBottomSplitter->addWidget(description);
    ui.browserBottomSplitter->setStretchFactor(0, 1);
    ui.browserBottomSplitter->setStretchFactor(1, 0);
    ui.browserBottomSplitter->setSizes({400, BrowserDescriptionWidth});
    ui.browserBottomSplitter->setChildrenCollapsible(false);

    ui.browserSplitter = new QSplitter(Qt::Vertical);
    ui.browserSplitter->addWidget(treeHolder);
    ui.browserSplitter->addWidget(ui.browserBottomSplitter);
    ui.browserSplitter->setStretchFactor(0, 1);
    ui.browserSplitter->setStretchFactor(1, 0);
    ui.browserSplitter->setSizes({300, BrowserBottomHeight});
    ui.browserSplitter->setChildrenCollapsible(false);
    layout->addWidget(ui.browserSplitter, 1);
}

void BuildEditorToolbar(MainWindowUi& ui) {
    ui.toolbar_Editor = Named(new QToolBar, "toolbar_Editor");
    ui.toolbar_Editor->setIconSize(QSize(16, 16));
    QToolBar& bar = *ui.toolbar_Editor;
    bar.addAction(ui.a_files_item_New);
    bar.addSeparator();
    bar.addActions({ui.a_files_item_Open, ui.a_files_item_OpenDefault, ui.a_files_item_Shelf});
    bar.addSeparator();
    bar.addActions({ui.a_files_item_Save, ui.a_files_item_SaveAS});
    bar.addSeparator();
    bar.addActions({ui.a_search_item_Find, ui.a_search_item_FindForward});
    bar.addSeparator();
    bar.addAction(ui.a_view_item_SaveNBrowser);
    bar.addSeparator();
    bar.addAction(ui.a_view_item_Browser);
    bar.addSeparator();
    bar.addAction(ui.a_about_item_AboutProgram);
}

void BuildPropertiesPage(MainWindowUi& ui) {
    QWidget* page = ui.tabsheet_ProjectProperties;
    auto* layout = new QVBoxLayout(page);

    ui.edit_ProjectDataDir = MakeButtonEdit("edit_ProjectDataDir",
                                            "Path, where there are data of the project.\r\n(At "
                                            "editing the absolute ways should be included)",
                                            ui.edit_ProjectDataDirButton);
    ui.label_ProjectDataDir =
        MakeLabel("label_ProjectDataDir", "Project data dir", ui.edit_ProjectDataDir);
    layout->addWidget(ui.label_ProjectDataDir);
    layout->addWidget(ui.edit_ProjectDataDir);

    ui.edit_ProjectName = MakeEdit("edit_ProjectName");
    ui.label_ProjectName = MakeLabel("label_ProjectName", "Project name", ui.edit_ProjectName);
    ui.edit_ProjectName2 = MakeEdit("edit_ProjectName2");
    ui.label_ProjectName2 = MakeLabel("label_ProjectName2", "ProjectName2", ui.edit_ProjectName2);
    auto* names = new QGridLayout;
    names->addWidget(ui.label_ProjectName, 0, 0);
    names->addWidget(ui.edit_ProjectName, 1, 0);
    names->addWidget(ui.label_ProjectName2, 0, 1);
    names->addWidget(ui.edit_ProjectName2, 1, 1);
    layout->addLayout(names);

    ui.groupbox_SplashScreen =
        Named(new QGroupBox(QStringLiteral("SplashScreen")), "groupbox_SplashScreen");
    ui.edit_SplashFileName = MakeButtonEdit(
        "edit_SplashFileName", "Filename of picture (JPEG or BMP)", ui.edit_SplashFileNameButton);
    ui.lbl_SplashFile = MakeLabel("lbl_SplashFile", "File", ui.edit_SplashFileName);
    ui.button_DontShowSplahScreen = Named(new QToolButton, "button_DontShowSplahScreen");
    ui.button_DontShowSplahScreen->setIcon(
        page->style()->standardIcon(QStyle::SP_LineEditClearButton));
    ui.button_DontShowSplahScreen->setToolTip(
        QStringLiteral("To not show SplashScreen the project"));
    ui.spinedit_SplashShowTime = Named(new QSpinBox, "spinedit_SplashShowTime");
    ui.spinedit_SplashShowTime->setRange(0, MaxSplashShowTime);
    ui.spinedit_SplashShowTime->setSingleStep(200);
    ui.spinedit_SplashShowTime->setValue(500);
    ui.lbl_SplashTime = MakeLabel("lbl_SplashTime", "Time, ms  ", ui.spinedit_SplashShowTime);
    auto* splash = new QGridLayout(ui.groupbox_SplashScreen);
    splash->addWidget(ui.lbl_SplashFile, 0, 0);
    splash->addWidget(ui.edit_SplashFileName, 0, 1);
    splash->addWidget(ui.button_DontShowSplahScreen, 0, 2);
    splash->addWidget(ui.lbl_SplashTime, 1, 0);
    splash->addWidget(ui.spinedit_SplashShowTime, 1, 1, Qt::AlignLeft);
    splash->setColumnStretch(1, 1);

    ui.checkbox_AbsoluteLink =
        Named(new QCheckBox(ui.a_options_item_AbsolutePath->text()), "checkbox_AbsoluteLink");
    auto* middle = new QHBoxLayout;
    middle->addWidget(ui.groupbox_SplashScreen, 3);
    middle->addWidget(ui.checkbox_AbsoluteLink, 2, Qt::AlignTop | Qt::AlignLeft);
    layout->addLayout(middle);

    ui.memo_ProjectDescription = MakeMemo("memo_ProjectDescription");
    ui.label_ProjectDescription =
        MakeLabel("label_ProjectDescription", "Project description", ui.memo_ProjectDescription);
    layout->addWidget(ui.label_ProjectDescription);
    layout->addWidget(ui.memo_ProjectDescription, 1);
}

QWidget* BuildActionToolbar(MainWindowUi& ui) {
    ui.toolbar_Action = Named(new QWidget, "toolbar_Action");
    auto* grid = new QGridLayout(ui.toolbar_Action);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);
    // Two buttons a row; the update stands alone below the scans it belongs with.
    const QAction* pairs[][2] = {
        {ui.a_operation_item_ScanProjectDirectory, ui.a_operation_item_ScanCurrentFolder},
        {ui.a_operation_item_UpdateFromDisc, nullptr},
        {ui.a_operation_item_AddObject, ui.a_operation_item_AddChildObject},
        {ui.a_operation_item_DeleteObject, ui.a_operation_item_DeleteAll},
        {ui.a_operation_item_CollapseTree, ui.a_operation_item_ExpandTree},
        {ui.a_search_item_Find, ui.a_search_item_FindForward}};
    int row = 0;
    for (const auto& pair : pairs) {
        for (int column = 0; column < 2 && pair[column] != nullptr; ++column) {
            auto* button = new QToolButton;
            button->setDefaultAction(const_cast<QAction*>(pair[column]));
            button->setAutoRaise(true);
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
            grid->addWidget(button, row, column);
        }
        ++row;
    }
    return ui.toolbar_Action;
}

void BuildObjectFields(MainWindowUi& ui) {
    ui.Panel1 = Named(new QFrame, "Panel1");
    ui.Panel1->setFrameShape(QFrame::StyledPanel);

    ui.edit_PathFileName = MakeButtonEdit("edit_PathFileName", "", ui.edit_PathFileNameButton);
    ui.label_PathFile = MakeLabel("label_PathFile", "Path, filename", ui.edit_PathFileName);
    ui.edit_Parameters = MakeEdit("edit_Parameters");
    ui.label_Parameters = MakeLabel("label_Parameters", "Parameters", ui.edit_Parameters);
    ui.edit_Caption = MakeEdit("edit_Caption");
    ui.label_Caption = MakeLabel("label_Caption", "Caption", ui.edit_Caption);
    ui.edit_Hint = MakeEdit("edit_Hint");
    ui.label_Hint = MakeLabel("label_Hint", "Hint", ui.edit_Hint);
    ui.combobox_Keywords = Named(new QComboBox, "combobox_Keywords");
    ui.combobox_Keywords->setEditable(true);
    ui.combobox_Keywords->addItems(
        {QStringLiteral("computer"), QStringLiteral("archive"), QStringLiteral("driver")});
    ui.combobox_Keywords->setCurrentIndex(-1);
    ui.label_Keywords = MakeLabel("label_Keywords", "Keywords", ui.combobox_Keywords);
    ui.memo_Comments = MakeMemo("memo_Comments");
    ui.memo_Comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui.memo_Comments->setFixedHeight(ui.memo_Comments->fontMetrics().lineSpacing() * 3 + 10);
    ui.label_Comments = MakeLabel("label_Comments", "Comments", ui.memo_Comments);
    ui.combobox_ObjectType = MakeList("combobox_ObjectType", ObjectTypeDisplayNames);
    ui.label_ObjectType = MakeLabel("label_ObjectType", "Object type", ui.combobox_ObjectType);
    ui.combobox_ObjectAction = MakeList("combobox_ObjectAction", ObjectActionDisplayNames);
    ui.label_ObjectAction =
        MakeLabel("label_ObjectAction", "Object action", ui.combobox_ObjectAction);
    ui.button_Commit = Named(new QPushButton(ui.a_button_Commit->text()), "button_Commit");

    auto* grid = new QGridLayout(ui.Panel1);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    grid->addWidget(ui.label_PathFile, 0, 0);
    grid->addWidget(ui.edit_PathFileName, 0, 1, 1, 3);
    grid->addWidget(ui.label_Parameters, 1, 0);
    grid->addWidget(ui.edit_Parameters, 1, 1);
    grid->addWidget(ui.label_Keywords, 1, 2);
    grid->addWidget(ui.combobox_Keywords, 1, 3);
    grid->addWidget(ui.label_Caption, 2, 0);
    grid->addWidget(ui.edit_Caption, 2, 1);
    grid->addWidget(ui.label_ObjectType, 2, 2);
    grid->addWidget(ui.combobox_ObjectType, 2, 3);
    grid->addWidget(ui.label_Hint, 3, 0);
    grid->addWidget(ui.edit_Hint, 3, 1);
    grid->addWidget(ui.label_ObjectAction, 3, 2);
    grid->addWidget(ui.combobox_ObjectAction, 3, 3);
    grid->addWidget(ui.label_Comments, 4, 0, Qt::AlignTop);
    grid->addWidget(ui.memo_Comments, 4, 1, 1, 2);
    grid->addWidget(ui.button_Commit, 4, 3, Qt::AlignBottom);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
}

void BuildDataPage(MainWindowUi& ui) {
    auto* layout = new QVBoxLayout(ui.tabsheet_Data);
    layout->setContentsMargins(2, 2, 2, 2);
    BuildObjectFields(ui);
    layout->addWidget(ui.Panel1);

    ui.Panel2 = Named(new QFrame, "Panel2");
    auto* panel2 = new QVBoxLayout(ui.Panel2);
    panel2->setContentsMargins(0, 0, 0, 0);
    ui.label_DataTree = MakeLabel("label_DataTree", "Data tree");
    panel2->addWidget(ui.label_DataTree);
    panel2->addWidget(BuildActionToolbar(ui));
    panel2->addStretch(1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(ui.Panel2);
    ui.dataTreeSlot = new QVBoxLayout;
    lower->addLayout(ui.dataTreeSlot, 1);
    layout->addLayout(lower, 1);
}

void BuildEditorPage(MainWindowUi& ui) {
    auto* layout = new QVBoxLayout(ui.tabsheet_Editor);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildEditorToolbar(ui);
    layout->addWidget(ui.toolbar_Editor);

    ui.EditPageControl = Named(new QTabWidget, "EditPageControl");
    ui.tabsheet_ProjectProperties = Named(new QWidget, "tabsheet_ProjectProperties");
    ui.tabsheet_Data = Named(new QWidget, "tabsheet_Data");
    ui.EditPageControl->addTab(ui.tabsheet_ProjectProperties, QStringLiteral("Project properties"));
    ui.EditPageControl->addTab(ui.tabsheet_Data, QStringLiteral("Data"));
    layout->addWidget(ui.EditPageControl, 1);
    BuildPropertiesPage(ui);
    BuildDataPage(ui);
}

}  // namespace

void BuildMainWindowPages(QMainWindow& window, MainWindowUi& ui) {
    // Only the view commands change the page, so the pages have no tabs.
    ui.PageControl = Named(new QStackedWidget, "PageControl");
    ui.tabsheet_View = Named(new QWidget, "tabsheet_View");
    ui.tabsheet_Editor = Named(new QWidget, "tabsheet_Editor");
    ui.PageControl->addWidget(ui.tabsheet_View);
    ui.PageControl->addWidget(ui.tabsheet_Editor);
    window.setCentralWidget(ui.PageControl);

    ui.TreeView = MakeTree();
    BuildBrowserPage(ui);
    BuildEditorPage(ui);
}

}  // namespace tomlet

#include "app/MainActions.h"

#include "app/AppTexts.h"
#include "app/LogDialog.h"
#include "app/Messages.h"
#include "app/NCEditor.h"
#include "base/TextNumbers.h"
#ifdef KORVEX_VERIFY
#include "app/VerifyDialog.h"
#endif
#include "app/MainCommands.h"

#include "ui_TMainForm.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <utility>

namespace korvex::app {

namespace {

// The desktop's own picture for the command where its theme has one.
void setIcon(QAction* action, const QWidget& window, const char* themeIcon,
             QStyle::StandardPixmap builtIn) {
    action->setIcon(
        QIcon::fromTheme(QString::fromLatin1(themeIcon), window.style()->standardIcon(builtIn)));
}

// Above the editor: its commands, and the button that shows or hides the profile panel.
void buildEditorToolbar(MainCommands& form, Ui::TMainForm& ui) {
    auto* tools = new QToolBar(ui.PNCProgramm);
    tools->setObjectName(QStringLiteral("EditorToolbar"));
    tools->setFixedHeight(36);
    ui.programLayout->insertWidget(0, tools);
    const auto tool = [&form, &ui, tools](const char* name, const char* themeIcon,
                                          QStyle::StandardPixmap icon, const QString& hint,
                                          const QKeySequence& key) {
        auto* a = new QAction(hint, &form);
        a->setObjectName(QString::fromLatin1(name));
        setIcon(a, form, themeIcon, icon);
        a->setToolTip(hint);
        // Only while the editor has the focus, so they do not take the keys of the text field.
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        tools->addAction(a);
        ui.PNCProgramm->addAction(a);
        return a;
    };
    NCEditor* editor = ui.NCEditor;
    // Ctrl+S is the window's "NC-Programm speichern", the same command: two would be ambiguous.
    QObject::connect(tool("Speichern", "document-save", QStyle::SP_DialogSaveButton,
                          QStringLiteral("Speichern"), QKeySequence()),
                     &QAction::triggered, &form, &MainCommands::SpeichernClick);
    QObject::connect(tool("Undo2", "edit-undo", QStyle::SP_ArrowBack, QStringLiteral("Rückgängig"),
                          QKeySequence::Undo),
                     &QAction::triggered, editor, &QPlainTextEdit::undo);
    QObject::connect(tool("Redo2", "edit-redo", QStyle::SP_ArrowForward,
                          QStringLiteral("Widerrufen"), QKeySequence::Redo),
                     &QAction::triggered, editor, &QPlainTextEdit::redo);
    QObject::connect(tool("Cut", "edit-cut", QStyle::SP_DialogDiscardButton,
                          QStringLiteral("Ausschneiden"), QKeySequence::Cut),
                     &QAction::triggered, editor, &QPlainTextEdit::cut);
    QObject::connect(tool("copy1", "edit-copy", QStyle::SP_FileDialogDetailedView,
                          QStringLiteral("Kopieren"), QKeySequence::Copy),
                     &QAction::triggered, editor, &QPlainTextEdit::copy);
    QObject::connect(tool("paste1", "edit-paste", QStyle::SP_DialogApplyButton,
                          QStringLiteral("Einfügen"), QKeySequence::Paste),
                     &QAction::triggered, editor, &QPlainTextEdit::paste);
    QObject::connect(tool("BQuillo", "accessories-text-editor", QStyle::SP_DialogOpenButton,
                          QStringLiteral("Quillo NC-Editor"), QKeySequence(Qt::CTRL | Qt::Key_E)),
                     &QAction::triggered, &form, &MainCommands::BQuilloClick);
    auto* profile = new QToolButton(tools);
    profile->setObjectName(QStringLiteral("BProfil"));
    profile->setText(QStringLiteral("PROFIL"));
    profile->setCheckable(true);
    profile->setChecked(true);
    tools->addWidget(profile);
    QObject::connect(profile, &QToolButton::toggled, ui.PProfil, &QWidget::setVisible);
}

void connectCommands(MainCommands& form, Ui::TMainForm& ui, const Messages& messages) {
    // Not in the caption table: their texts follow the language when the menu opens.
    const std::pair<QAction*, int> followers[] = {{ui.Kalibriermuster1, CouponMenuText},
                                                  {ui.Markierprotokoll1, LogMenuText},
                                                  {ui.Serienlauf1, SerialMenuText}};
    for (const auto& [action, number] : followers)
        QObject::connect(ui.Datei1, &QMenu::aboutToShow, action,
                         [&messages, action, number] { action->setText(messages.Text(number)); });
    ui.Ebene1->menuAction()->setVisible(false);
    QObject::connect(ui.Kalibriermuster1, &QAction::triggered, &form,
                     &MainCommands::KalibriermusterClick);
    QObject::connect(ui.Markierprotokoll1, &QAction::triggered, &form,
                     [&form] { form.MarkingLogDialog().exec(); });
    QObject::connect(ui.Serienlauf1, &QAction::triggered, &form, &MainCommands::SerienlaufClick);
#ifdef KORVEX_VERIFY
    auto* verifyMark = new QAction(&form);
    verifyMark->setObjectName(QStringLiteral("MarkierungPruefen1"));
    ui.Datei1->insertAction(ui.Kalibriermuster1, verifyMark);
    QObject::connect(ui.Datei1, &QMenu::aboutToShow, verifyMark, [&messages, verifyMark] {
        verifyMark->setText(messages.Text(text::VerifyMenuText));
    });
    QObject::connect(verifyMark, &QAction::triggered, &form,
                     [&form, &messages] { OpenVerifyDialog(form, form.MarkingLog(), messages); });
    AcceptPhotoDrops(form, form.MarkingLog(), messages);
#endif
    QObject::connect(ui.Neueerstellen1, &QAction::triggered, &form,
                     &MainCommands::NeuErstellen1Click);
    QObject::connect(ui.OpenVorlage, &QAction::triggered, &form, &MainCommands::OpenVorlageClick);
    QObject::connect(ui.SaveVorlage, &QAction::triggered, &form, &MainCommands::SaveVorlageClick);
    QObject::connect(ui.NCProgrammspeichern1, &QAction::triggered, &form,
                     &MainCommands::SpeichernClick);
    QObject::connect(ui.BTestdruck, &QAction::triggered, &form, &MainCommands::BTestdruckClick);
    QObject::connect(ui.Beenden1, &QAction::triggered, &form, &QWidget::close);
    QObject::connect(ui.Info1, &QAction::triggered, &form, &MainCommands::InfoClick);
    QObject::connect(ui.Hilfe1, &QAction::triggered, &form, &MainCommands::HelpClick);
    QObject::connect(ui.Einstellungen1, &QAction::triggered, &form,
                     &MainCommands::EinstellungenClick);
    // F1 from every control of the window; the editor keeps Ctrl+F1 for its context help.
    form.addAction(ui.Hilfe1);

    // Every view from the keyboard: a menu, and Ctrl+1 to Ctrl+4 in the order of the buttons.
    const std::pair<QAction*, void (MainCommands::*)()> views[] = {
        {ui.ViewDatamatrix, &MainCommands::BDatamatrixClick},
        {ui.ViewProgram, &MainCommands::BProgramClick},
        {ui.ViewGrafik, &MainCommands::BGrafikClick},
        {ui.ViewBlank, &MainCommands::BBlankClick}};
    for (const auto& [action, command] : views) {
        QObject::connect(action, &QAction::triggered, &form, command);
        form.addAction(action);
    }
    const std::pair<QToolButton*, void (MainCommands::*)()> buttons[] = {
        {ui.BDatamatrix, &MainCommands::BDatamatrixClick},
        {ui.BProgram, &MainCommands::BProgramClick},
        {ui.BGrafik, &MainCommands::BGrafikClick},
        {ui.BBlank, &MainCommands::BBlankClick}};
    for (const auto& [button, command] : buttons)
        QObject::connect(button, &QToolButton::clicked, &form, command);
}

// The toolbar's buttons run the menu's actions.
void connectToolbar(const MainCommands& form, Ui::TMainForm& ui) {
    const struct {
        QAction* button;
        const char* themeIcon;
        QStyle::StandardPixmap icon;
        QAction* same;
    } buttons[] = {
        {ui.BTSave, "document-save-as", QStyle::SP_DialogSaveButton, ui.SaveVorlage},
        {ui.BTLoad, "document-open", QStyle::SP_DialogOpenButton, ui.OpenVorlage},
        {ui.NeuErstellen1, "document-new", QStyle::SP_FileIcon, ui.Neueerstellen1},
        {ui.BSetup, "preferences-system", QStyle::SP_FileDialogContentsView, ui.Einstellungen1},
        {ui.BHelp, "help-contents", QStyle::SP_DialogHelpButton, ui.Hilfe1},
        {ui.BInfo, "help-about", QStyle::SP_MessageBoxInformation, ui.Info1}};
    for (const auto& b : buttons) {
        setIcon(b.button, form, b.themeIcon, b.icon);
        QObject::connect(b.button, &QAction::triggered, b.same, &QAction::trigger);
    }
    // Info stands at the right end.
    auto* spacer = new QWidget(ui.ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ui.ToolBar1->insertWidget(ui.BInfo, spacer);
}

} // namespace

void SetUpActions(MainCommands& form, Ui::TMainForm& ui, const Messages& messages) {
    buildEditorToolbar(form, ui);
    connectCommands(form, ui, messages);
    connectToolbar(form, ui);
}

void ApplyActionTexts(Ui::TMainForm& ui, const Messages& messages) {
    ui.AnsichtMenu->setTitle(QLatin1Char('&') + messages.Text(3101));
    const std::pair<QAction*, int> views[] = {{ui.ViewDatamatrix, 1002},
                                              {ui.ViewProgram, 1003},
                                              {ui.ViewGrafik, 1004},
                                              {ui.ViewBlank, 1001}};
    for (const auto& [action, number] : views)
        action->setText(messages.Text(number));
}

} // namespace korvex::app

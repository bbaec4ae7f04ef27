#include "app/CaptionApplier.h"

#include "app/CodePage.h"
#include "config/CaptionTable.h"
#include "config/LanguageTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QRegularExpression>
#include <QWidget>

#include <cstring>

namespace korvex::app {

namespace {

QString withoutAccelerator(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

void setCaption(QObject* object, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(text);
    } else if (auto* page = qobject_cast<QWidget*>(object)) {
        // A tab page carries its caption on the tab.
        for (QWidget* parent = page->parentWidget(); parent; parent = parent->parentWidget()) {
            if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
                const int index = tabs->indexOf(page);
                if (index >= 0) tabs->setTabText(index, text);
                return;
            }
        }
        page->setWindowTitle(text);
    }
}

} // namespace

void ApplyCaptions(QWidget* window, const char* windowClass, const config::TLanguageTexts& texts) {
    for (const config::TCaption& caption : config::CaptionTable()) {
        if (std::strcmp(caption.window, windowClass) != 0) continue;
        const QString text = FromCodePage(texts.Text(caption.number));
        if (caption.objectName[0] == '\0') {
            window->setWindowTitle(withoutAccelerator(text));
            continue;
        }
        const QString name = QString::fromLatin1(caption.objectName);
        const QList<QObject*> found = window->findChildren<QObject*>(name);
        for (QObject* object : found)
            setCaption(object, text);
    }
}

} // namespace korvex::app

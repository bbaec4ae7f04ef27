#pragma once

#include "ncgen/StepButton.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace korvex::app {

// A numeric field with its − and + buttons, one look for the job panel, the profile panel and
// the settings dialog. The field and buttons keep their own object names (EXVersatz, XMinus,
// Xplus ...), which the caption table and the tests find; the row itself is only the frame.
class StepField : public QWidget {
    Q_OBJECT
    // Set from the settings dialog's form file.
    Q_PROPERTY(QString fieldName READ fieldName WRITE setFieldName)
    Q_PROPERTY(QString minusName READ minusName WRITE setMinusName)
    Q_PROPERTY(QString plusName READ plusName WRITE setPlusName)
    // The settings dialog's buttons are narrower than the main window's.
    Q_PROPERTY(int buttonWidth READ buttonWidth WRITE setButtonWidth)
  public:
    explicit StepField(QWidget* parent = nullptr);
    StepField(QWidget* parent, const char* fieldName, const char* minusName, const char* plusName);

    QLineEdit* Field() const { return field_; }
    // The window's step buttons: the core's step on the field's text. Slots connected to
    // Stepped before this run before the field moves.
    void StepWith(ncgen::TStepButton minus, ncgen::TStepButton plus);

    QString fieldName() const;
    void setFieldName(const QString& name);
    QString minusName() const;
    void setMinusName(const QString& name);
    QString plusName() const;
    void setPlusName(const QString& name);
    int buttonWidth() const;
    void setButtonWidth(int width);

  signals:
    // Every press, also auto-repeated ones; plus is false for −.
    void Stepped(bool plus);

  private:
    QLineEdit* field_ = nullptr;
    QToolButton* minus_ = nullptr;
    QToolButton* plus_ = nullptr;
};

} // namespace korvex::app

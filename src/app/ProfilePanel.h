#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace korvex::app {

// PProfil beside the NC editor: the profile buttons 1-4 and the R, Z and feed texts of the next
// generation.
class ProfilePanel : public QWidget {
    Q_OBJECT
  public:
    explicit ProfilePanel(QWidget* parent = nullptr);

    // Presses button n and shows the profile's name; no signal.
    void ShowProfile(int number, const QString& name);
    // Fills R, Z and feed as a profile selection does; each change runs the status check.
    void SetValues(const std::string& r, const std::string& z, const std::string& feed);

    std::string REbeneauswahl() const;
    std::string ZEbeneauswahl() const;
    std::string EVorschubZ() const;
    QLineEdit* RField() const { return r_; }
    QLineEdit* ZField() const { return z_; }

  signals:
    void ProfileClicked(int number);
    void FieldChanged();
    void FeedChanged(const std::string& feed);
    void Refused(const QString& character);

  private:
    QRadioButton* buttons_[4] = {};
    QLabel* name_ = nullptr;
    QLineEdit* r_ = nullptr;
    QLineEdit* z_ = nullptr;
    QLineEdit* feed_ = nullptr;
};

} // namespace korvex::app

#pragma once

#include <QGroupBox>

#include <string>
#include <vector>

class QTableWidget;

namespace korvex::app {

class Messages;

// The settings' shift table: a name and a start (HH:MM) per row, one empty row at the end
// for the next shift. The entries are main.ini's, "Früh 06:00", Windows-1252.
class ShiftTableBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit ShiftTableBox(QWidget* parent = nullptr);

    void Fill(const std::vector<std::string>& entries);
    // Rows with a name or a start, in their order; ConfigFolder's ReadShifts judges them.
    std::vector<std::string> Entries() const;
    void ApplyTexts(const Messages& messages);

  private:
    void keepOneEmptyRow();

    QTableWidget* table_ = nullptr;
};

} // namespace korvex::app

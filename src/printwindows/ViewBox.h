#pragma once
#include <QFrame>
#include <QStringList>

namespace corvane {

class PrintWindowModel;

// A slot's view box (DBMemoK): read-only, bordered, multi-line, showing the value of its
// column in the current row of its role, wrapped at its width in its type. The lines it shows
// are exactly the lines the before-print step copies into the print box.
class ViewBox : public QFrame {
    Q_OBJECT
public:
    ViewBox(PrintWindowModel& model, int slotNumber, QWidget* parent);

    int slotNumber() const { return m_slot; }
    QStringList lines() const;
    // Place and type from the model's slot.
    void takeSlot();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PrintWindowModel& m_model;
    int m_slot;
};

}

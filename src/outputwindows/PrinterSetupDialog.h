#pragma once
#include "output/PrinterSetupRequest.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace corvane {

// The printer setup dialog: only what printing uses, the printer (or a PDF file), copies, all
// pages or a range of page numbers, and the orientation. Confirming keeps the choices for the
// report page's later prints; it prints nothing itself.
class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterSetupDialog(const PrinterSetupRequest& request, QWidget* parent = nullptr);

    // The request with the choices now shown in the dialog.
    PrinterSetupRequest choices() const;

    QComboBox* printerBox() const { return m_printer; }
    QLineEdit* fileNameEdit() const { return m_fileName; }
    QSpinBox* copiesBox() const { return m_copies; }
    QRadioButton* allPagesButton() const { return m_allPages; }
    QRadioButton* pageRangeButton() const { return m_pageRange; }
    QSpinBox* fromPageBox() const { return m_fromPage; }
    QSpinBox* toPageBox() const { return m_toPage; }
    QRadioButton* portraitButton() const { return m_portrait; }
    QRadioButton* landscapeButton() const { return m_landscape; }
    QPushButton* confirmButton() const { return m_confirm; }

    void accept() override;

private:
    void updateControls();
    void chooseFile();

    PrinterSetupRequest m_request;
    QComboBox* m_printer = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLineEdit* m_fileName = nullptr;
    QToolButton* m_browse = nullptr;
    QSpinBox* m_copies = nullptr;
    QRadioButton* m_allPages = nullptr;
    QRadioButton* m_pageRange = nullptr;
    QSpinBox* m_fromPage = nullptr;
    QSpinBox* m_toPage = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QPushButton* m_confirm = nullptr;
};

// Shows the dialog modally over `parent`, filled from `request`; on confirmation the choices go
// back into `request` and the result is true.
bool runPrinterSetupDialog(QWidget* parent, PrinterSetupRequest& request);

}

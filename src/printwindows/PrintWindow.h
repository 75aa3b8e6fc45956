#pragma once
#include "printwindows/PrintWindowModel.h"
#include "printwindows/PrintWindowTraits.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace corvane {

class BatchQuery;
class FontChooser;
class List;
class TemplateReportPage;
class ViewBox;

// The behaviour the four print windows share: one waybill template shown over its form
// picture, filled from the current sender and recipient, previewed and printed through the
// page engine, with the type and position adjustment. A window is created once, hidden, and
// opened modally on one template by a template menu entry; closing only hides it.
class PrintWindow : public QDialog {
    Q_OBJECT
public:
    // `senders` and `recipients` are the main window's lists; a batch window ignores
    // `recipients` and opens its own connection and query (throws corvane::Error on failure).
    PrintWindow(PrintWindowKind kind, List* senders, List* recipients, QWidget* parent = nullptr);
    ~PrintWindow() override;

    const PrintWindowTraits& traits() const { return m_traits; }
    PrintWindowKind kind() const { return m_traits.kind; }
    PrintWindowModel& model() { return m_model; }
    BatchQuery* batch() const { return m_batch.get(); }

    // The open operation of the template entries: caption, shown page, outer height, centred,
    // modal. Returns when the window is closed.
    void open(const QString& caption, int templateNumber, int outerHeight);
    // Everything open does before showing the window.
    void prepare(const QString& caption, int templateNumber, int outerHeight);

    int shownTemplate() const;           // the active tab page's template number
    QWidget* tabSheet(int templateNumber) const;
    bool pageBuilt(int templateNumber) const;
    // View box of a slot of a built page, else nullptr.
    ViewBox* viewBox(int slotNumber) const;
    QLabel* bannerLabel(int templateNumber) const;
    // QuickRepN of this window, made on first use.
    TemplateReportPage& reportPage(int templateNumber);
    int outerHeight() const { return m_outerHeight; }

    // FontDialog1; the system dialog unless a test sets its own (not owned).
    void setFontChooser(FontChooser* chooser) { m_fontChooser = chooser; }
    // Batch windows: which sender the batch carries and how many waybills it gives.
    QString batchSummary() const;

public Q_SLOTS:
    void SpeedButton1Click();   // 设置字体
    void SpeedButton3Click();   // 单张预览 / 批量预览
    void SpeedButton4Click();   // 关闭窗口
    void SpeedButton5Click();   // 上下移动 确定
    void SpeedButton6Click();   // 左右移动 确定
    void FormActivate();        // batch windows: re-run the query

Q_SIGNALS:
    // A template page's widgets were made (the first time it was shown).
    void pageBuiltSignal(int templateNumber);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildToolBar();
    void buildPages();
    void ensurePage(int templateNumber);
    void takeModel();            // built pages follow the model's positions and type
    void refreshRows();          // view boxes and summary follow the rows
    void applyOuterHeight();
    void centreOnScreen();
    void runGuarded(const std::function<void()>& handler);
    // Makes a window the engine opened while this one is open belong to it.
    void adoptWindow(QWidget* window);

    const PrintWindowTraits& m_traits;
    PrintWindowModel m_model;
    std::unique_ptr<BatchQuery> m_batch;
    QTabWidget* m_pages = nullptr;
    std::array<QWidget*, 33> m_sheets{};
    std::array<QWidget*, 33> m_reportWidgets{};     // built pages' QuickRepN widgets
    std::array<std::unique_ptr<TemplateReportPage>, 33> m_reportPages;
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QLabel* m_summary = nullptr;
    FontChooser* m_fontChooser = nullptr;
    int m_outerHeight = 0;
    bool m_reportingError = false;
    bool m_refreshAfterRun = false;
    QDeadlineTimer m_quietActivation{0};   // activations until then follow our own error box
};

// Makes the window of a kind: TDdForm, TEddForm, TPdForm or TPedForm.
std::unique_ptr<PrintWindow> makePrintWindow(PrintWindowKind kind, List* senders, List* mainRecipients,
                                             List* mainImport, QWidget* parent);

}

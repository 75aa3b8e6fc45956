#pragma once
#include <QWidget>

namespace corvane {

class DataGrid;
class List;

// TabSheet3: the rows taken from a spreadsheet (table excel).
class ImportPage : public QWidget {
    Q_OBJECT
public:
    ImportPage(List* imported, QWidget* parent = nullptr);

    DataGrid* grid() const { return m_grid; }

public Q_SLOTS:
    void SpeedButton5Click();           // "Excel导入": every imported row, and the page shown

private:
    List* m_imported;
    DataGrid* m_grid;
};

}

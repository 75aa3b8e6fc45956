#pragma once
#include "output/ReportDataSet.h"

namespace corvane {

class List;

// A report page's data set over an address-book list (a batch window's own query).
class ListDataSet : public ReportDataSet {
public:
    explicit ListDataSet(List* list) : m_list(list) {}
    List* list() const { return m_list; }

    bool isOpen() const override;
    int recordCount() const override;
    void first() override;
    void next() override;
    bool eof() const override;

private:
    List* m_list;
};

}

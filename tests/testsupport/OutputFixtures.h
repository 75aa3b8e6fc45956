#pragma once
#include "output/ReportDataSet.h"
#include "output/ReportPage.h"

#include <QStringList>
#include <memory>

namespace corvane::test {

// Rows of text for a report page's data set; current() is the row the band should print.
class OutputRowsDataSet : public ReportDataSet {
public:
    explicit OutputRowsDataSet(QStringList rows, bool open = true) : rows(std::move(rows)), open(open) {}
    QStringList rows;
    bool open;
    int position = 0;
    int countAsked = 0;

    bool isOpen() const override { return open; }
    int recordCount() const override
    {
        ++const_cast<OutputRowsDataSet*>(this)->countAsked;
        return int(rows.size());
    }
    void first() override { position = 0; }
    void next() override { ++position; }
    bool eof() const override { return position >= rows.size(); }
    QString current() const { return eof() ? QString() : rows.at(position); }
};

// A waybill-like report page: custom paper of the given size, a band of bandHeight with one
// print box "QRRichText1" at 120, 100 px (317.5, 264.6 tenths), 97 x 22 px, 11 pt, and a
// banner label "QRLabel1". The band's handler copies the data set's current row (or
// singleText) into the box and counts its calls.
struct OutputWaybill {
    explicit OutputWaybill(double width = 2300, double length = 1270, double bandHeight = 1270);
    ReportPage page;
    int beforePrintCalls = 0;
    QStringList printedTexts;
    QString singleText = QStringLiteral("寄件人");
    OutputRowsDataSet* rows = nullptr;
    std::unique_ptr<OutputRowsDataSet> ownedRows;

    void useRows(const QStringList& values);
    QFont boxFont() const;
};

QStringList numberedRows(int count, const QString& prefix = QStringLiteral("行"));

}

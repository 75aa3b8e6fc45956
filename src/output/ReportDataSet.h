#pragma once

namespace corvane {

// The rows a report page repeats its band over (a batch window's query).
class ReportDataSet {
public:
    virtual ~ReportDataSet() = default;
    virtual bool isOpen() const = 0;
    virtual int recordCount() const = 0; // -1 when the data set cannot tell
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
};

}

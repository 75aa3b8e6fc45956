#pragma once
#include "output/ListDataSet.h"

#include <QObject>
#include <QString>
#include <memory>

namespace corvane {

class Connection;
class List;

// A batch window's own connection and query (ADOConnection1, ADOQuery1): a second connection
// to data.mdb and a snapshot of every row of inr or excel, re-taken on every activation.
class BatchQuery : public QObject {
    Q_OBJECT
public:
    // Connects and opens the query at once; throws corvane::Error with the engine's text.
    explicit BatchQuery(const QString& statement, QObject* parent = nullptr);
    ~BatchQuery() override;

    Connection& ADOConnection1() const { return *m_connection; }
    List* ADOQuery1() const { return m_query.get(); }
    // The report pages' data set over the query.
    ReportDataSet* dataSet() { return &m_dataSet; }
    const QString& statement() const { return m_statement; }

    // Close, clear the statement, set it again, open: the rows as the table holds them now,
    // standing on the first. A failure throws and leaves the query closed.
    void requery();

    // Waybills the batch gives: one per row, or the single page of an empty or closed query.
    int pageCount() const;

private:
    QString m_statement;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<List> m_query;
    ListDataSet m_dataSet;
};

}

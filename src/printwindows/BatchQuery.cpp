#include "printwindows/BatchQuery.h"

#include "addressbook/Connection.h"
#include "addressbook/List.h"

namespace corvane {

BatchQuery::BatchQuery(const QString& statement, QObject* parent)
    : QObject(parent), m_statement(statement),
      m_connection(std::make_unique<Connection>(QString::fromLatin1(Connection::DefaultFileName))),
      m_query(std::make_unique<List>(m_connection.get())), m_dataSet(m_query.get())
{
    m_connection->setObjectName(QStringLiteral("ADOConnection1"));
    m_query->setObjectName(QStringLiteral("ADOQuery1"));
    m_connection->Open();
    m_query->setSQL(m_statement);
    m_query->Open();
}

BatchQuery::~BatchQuery()
{
    m_query.reset();
}

void BatchQuery::requery()
{
    m_query->Close();
    m_query->setSQL(QString());
    m_query->setSQL(m_statement);
    m_query->Open();
}

int BatchQuery::pageCount() const
{
    if (!m_query->Active())
        return 1;
    return qMax(1, m_query->RecordCount());
}

}

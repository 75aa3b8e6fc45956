#include "output/ListDataSet.h"

#include "addressbook/List.h"

namespace corvane {

bool ListDataSet::isOpen() const
{
    return m_list && m_list->Active();
}

int ListDataSet::recordCount() const
{
    return m_list->RecordCount();
}

void ListDataSet::first()
{
    m_list->First();
}

void ListDataSet::next()
{
    m_list->Next();
}

bool ListDataSet::eof() const
{
    return m_list->Eof();
}

}

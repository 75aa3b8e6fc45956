#include "app/ImportPage.h"
#include "app/DataGrid.h"
#include "addressbook/List.h"
#include "app/PageParts.h"

#include <QLineEdit>

namespace corvane {

ImportPage::ImportPage(List* imported, QWidget* parent) : QWidget(parent), m_imported(imported)
{
    setObjectName(QStringLiteral("TabSheet3"));
    addBackground(this, "Image6", QStringLiteral(":/art/page-import.jpg"));

    m_grid = new DataGrid(imported, DataGrid::recipientColumns(), false, this);
    m_grid->setObjectName(QStringLiteral("DBGridEh3"));
    m_grid->setGeometry(2, 104, 976, 400);
}

void ImportPage::SpeedButton5Click()
{
    runGuarded(this, m_imported, [this] {
        m_imported->Close();
        m_imported->setSQL(QStringLiteral("select * from excel"));
        m_imported->Open();
        // The search boxes of this page; 收件单位 (Edit30) keeps its text.
        for (const char* name : {"Edit23", "Edit24"}) {
            if (auto* box = findChild<QLineEdit*>(QLatin1String(name)))
                box->setText(QString());
        }
        showPage(this);
        if (auto* path = findChild<QLineEdit*>(QStringLiteral("Edit22")))
            path->setFocus();
    });
}

}

#include "HostServices.h"
#include "HostSession.h"

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"

DictService::DictService(HostSession &session)
    : m_session(session)
{
}

DictService::~DictService()
{
    qDeleteAll(m_combos);
}

// The combo is the host's and is reused per statement, refilled from the database
// on every call so that it never shows stale names.
TcxImageComboBox *DictService::GetDictCombo(const QString &sql)
{
    const std::unique_ptr<TDataSet> rows(
        m_session.serve([&] { return m_session.database().openQuery(sql); }));
    TcxImageComboBox *&combo = m_combos[sql];
    if (!combo)
        combo = new TcxImageComboBox;
    TcxImageComboBoxItems items;
    for (int r = 0; r < rows->recordCount(); ++r)
        items.add(rows->asString(r, 0), rows->fieldCount() > 1 ? rows->asString(r, 1) : QString());
    combo->setItems(items);
    return combo;
}

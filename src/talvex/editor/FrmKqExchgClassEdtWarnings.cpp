// The working-time warnings of the exchange being typed: the panel under the
// designed controls and what feeds it.

#include "FrmKqExchgClassEdt.h"
#include "WarningsPanel.h"

#include "runtime/application.h"
#include "runtime/editors/cxeditors.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Under the remark box, in the room the designed form leaves above the buttons.
constexpr QRect panelAt{24, 461, 435, 62};

} // namespace

void TKqExchgClassEdtFrm::buildWarningsPanel()
{
    m_warnings = new WarningsPanel(cxGroupBox1);
    m_warnings->setGeometry(panelAt);
    // More lines than the room holds make the dialog taller; the designed
    // controls keep their places above.
    connect(m_warnings, &WarningsPanel::heightWanted, this, [this](int height) {
        const int grow = std::max(height, panelAt.height()) - m_warnings->height();
        if (grow == 0)
            return;
        m_warnings->resize(panelAt.width(), m_warnings->height() + grow);
        setFixedHeight(this->height() + grow);
    });
}

// The employee's pick (takeEmployee, forgetEmployee) calls showWarnings itself.
void TKqExchgClassEdtFrm::connectWarnings()
{
    connect(edtExchgDate, &TcxDateEdit::dateChanged, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::showWarnings));
    for (TcxTimeEdit *box : afterExchangeBoxes()) {
        connect(box, &TcxTimeEdit::changed, this,
                Rt::guarded(this, &TKqExchgClassEdtFrm::showWarnings));
    }
}

void TKqExchgClassEdtFrm::showWarnings()
{
    m_warnings->showWarnings(draft());
}

ExchangeDraft TKqExchgClassEdtFrm::draft() const
{
    return {m_employeeCode, edtExchgDate->date(), FID, enteredPeriods()};
}

#include "imagecomboaccessible_p.h"
#include "imagecombobox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

using namespace Qt::StringLiterals;

namespace {

class ImageComboAccessible : public QAccessibleWidget
{
public:
    explicit ImageComboAccessible(QComboBox *combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = combo()->view()->isVisible();
        return state;
    }

    // The drop-down list, as the combo box's one child.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == combo()->view() ? 0 : -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

private:
    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *imageComboFactory(const QString &className, QObject *object)
{
    if (className == u"TcxImageComboBox"_s && object && object->isWidgetType())
        return new ImageComboAccessible(static_cast<QComboBox *>(object));
    return nullptr;
}

} // namespace

void installImageComboAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(imageComboFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

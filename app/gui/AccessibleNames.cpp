#include "AccessibleNames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QWidget>

namespace caldren::gui {

namespace {

QString Plain(QString text) {
    // "C&lear Months" -> "Clear Months"; "&&" stays one "&".
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.simplified();
}

QString LabelText(const QLayoutItem* item) {
    const auto* label = item ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
    return label && !label->text().isEmpty() ? Plain(label->text()) : QString();
}

// The layout (in the widget's parent) that holds the widget, searched through nested ones.
QLayout* HoldingLayout(QLayout* layout, const QWidget* widget) {
    if (!layout) return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget) return layout;
        if (QLayout* inner = HoldingLayout(item->layout(), widget)) return inner;
    }
    return nullptr;
}

// The caption laid out beside the widget: to its left in a grid, just before it in a row
// or column.
QString NeighbourCaption(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    QLayout* layout = parent ? HoldingLayout(parent->layout(), widget) : nullptr;
    if (!layout) return {};
    const int index = layout->indexOf(widget);
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        for (int left = column - 1; left >= 0; --left)
            if (QString text = LabelText(grid->itemAtPosition(row, left)); !text.isEmpty())
                return text;
        return {};
    }
    return index > 0 ? LabelText(layout->itemAt(index - 1)) : QString();
}

QString NameOf(QWidget* widget, const QList<QLabel*>& labels) {
    for (const QLabel* label : labels)
        if (label->buddy() == widget && !label->text().isEmpty()) return Plain(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        if (!button->text().isEmpty()) return Plain(button->text());
    if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        if (!box->title().isEmpty()) return Plain(box->title());
    if (qobject_cast<const QTabBar*>(widget)) return QStringLiteral("Pages");
    if (QString caption = NeighbourCaption(widget); !caption.isEmpty()) return caption;
    if (!widget->toolTip().isEmpty()) return widget->toolTip().section(QLatin1Char('.'), 0, 0);
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        if (!edit->placeholderText().isEmpty()) return edit->placeholderText();
    return {};
}

class ShownWindows final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow()) NameControls(widget);
        }
        return false;
    }
};

}  // namespace

void NameControls(QWidget* window) {
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // A label is named by its text; one that takes the focus (selectable text) still
        // gets a description below.
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (widget->focusPolicy() == Qt::NoFocus && !label) continue;
        if (!label && widget->accessibleName().isEmpty())
            widget->setAccessibleName(NameOf(widget, labels));
        // The description: the control's help text where it has one, else its tooltip,
        // else its name again (a screen reader then reads the label for either).
        if (widget->accessibleDescription().isEmpty()) {
            QString text = widget->whatsThis();
            if (text.isEmpty()) text = widget->toolTip();
            if (text.isEmpty()) text = widget->accessibleName();
            if (text.isEmpty() && label) text = Plain(label->text());
            widget->setAccessibleDescription(text);
        }
    }
}

void InstallAccessibleNames(QApplication& app) {
    static const char* const kName = "AccessibleNames";
    if (app.findChild<QObject*>(QString::fromLatin1(kName), Qt::FindDirectChildrenOnly)) return;
    auto* filter = new ShownWindows(&app);
    filter->setObjectName(QString::fromLatin1(kName));
    app.installEventFilter(filter);
}

}  // namespace caldren::gui

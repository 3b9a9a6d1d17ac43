#include "platform/Accessibility.h"

#include "platform/Frame.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

class FrameAccessible;

// One cell of a frame's table, or (row -1) the header of a column.
class TableCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    TableCellAccessible(Frame *frame, int row, int column)
        : m_frame(frame), m_row(row), m_column(column)
    {
    }

    bool isValid() const override
    {
        return m_frame && m_column < m_frame->tableColumnCount() && m_row < m_frame->tableRowCount();
    }
    // A cell is no widget of its own; the frame's interface owns it.
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_frame); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !m_frame)
            return {};
        return m_row < 0 ? m_frame->tableHeader(m_column) : m_frame->tableCell(m_row, m_column);
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!m_frame)
            return {};
        return m_row < 0 ? m_frame->tableHeaderRect(m_column) : m_frame->tableCellRect(m_row, m_column);
    }
    QAccessible::Role role() const override { return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = !m_frame || !m_frame->isVisible();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface && m_row >= 0)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QPointer<Frame> m_frame;
    int m_row;
    int m_column;
};

// A frame: a named group of controls, or, when it shows a table, that table. Its children
// are then the column headers followed by the cells row by row, and the labels that draw
// the table are left out.
class FrameAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit FrameAccessible(Frame *frame)
        : QAccessibleWidget(frame, QAccessible::Grouping)
    {
    }
    ~FrameAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
    }

    Frame *frame() const { return static_cast<Frame *>(widget()); }

    QAccessible::Role role() const override
    {
        return frame()->showsTable() ? QAccessible::Table : QAccessible::Grouping;
    }
    // Its own caption, never an enclosing frame's.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && frame()->accessibleName().isEmpty()) {
            QString caption = frame()->title();
            return caption.remove(QLatin1Char('&')).trimmed();
        }
        return QAccessibleWidget::text(t);
    }
    // Qt makes an enclosing frame the label of every frame inside it, and screen readers
    // read that label in place of the frame's own caption; it is left out.
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        auto related = QAccessibleWidget::relations(match);
        const QAccessibleInterface *enclosing = parent();
        related.removeIf([enclosing](const auto &r) {
            return r.second == QAccessible::Label && r.first == enclosing && qobject_cast<Frame *>(r.first->object());
        });
        return related;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface && frame()->showsTable())
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    int childCount() const override
    {
        if (!frame()->showsTable())
            return QAccessibleWidget::childCount();
        return columnCount() * (rowCount() + 1);
    }
    QAccessibleInterface *child(int index) const override
    {
        if (!frame()->showsTable())
            return QAccessibleWidget::child(index);
        const int columns = columnCount();
        if (index < 0 || columns == 0 || index >= childCount())
            return nullptr;
        return cell(index / columns - 1, index % columns);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!frame()->showsTable())
            return QAccessibleWidget::indexOfChild(child);
        for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == child)
                return (it.key().first + 1) * columnCount() + it.key().second;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (!frame()->showsTable())
            return QAccessibleWidget::childAt(x, y);
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface *c = child(i);
            if (c && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }

    // The cell at (row, column); row -1 is the header row. Made once and kept while the
    // frame lives.
    QAccessibleInterface *cell(int row, int column) const
    {
        const QPair<int, int> key(row, column);
        auto it = m_cells.constFind(key);
        if (it != m_cells.cend())
            return QAccessible::accessibleInterface(it.value());
        auto *made = new TableCellAccessible(frame(), row, column);
        m_cells.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return cell(row, column);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override { return frame()->tableHeader(column); }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return frame()->tableColumnCount(); }
    int rowCount() const override { return frame()->tableRowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    mutable QHash<QPair<int, int>, QAccessible::Id> m_cells;
};

QList<QAccessibleInterface *> TableCellAccessible::columnHeaderCells() const
{
    auto *table = m_frame ? dynamic_cast<FrameAccessible *>(parent()) : nullptr;
    if (!table)
        return {};
    return {table->cell(-1, m_column)};
}

// The object name of a window's announcer (see AnnounceRunEnd).
const QString AnnouncerName = QStringLiteral("announcer");

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QWidget") && object->objectName() == AnnouncerName)
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    if (className == QLatin1String("platform::Frame"))
        return new FrameAccessible(static_cast<Frame *>(object));
    // The drawing area is a picture; its description says what it shows.
    if (className == QLatin1String("platform::PictureBox"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(factory);
}

void AnnounceRunEnd(QWidget *window, const QString &summary)
{
    // A notification that a screen reader speaks each time it is shown: a widget of no size in
    // the window's corner, which is never painted and takes neither the mouse nor the focus. In
    // a main window it sits in the client area, beside the controls.
    auto *mainWindow = qobject_cast<QMainWindow *>(window);
    QWidget *holder = mainWindow && mainWindow->centralWidget() ? mainWindow->centralWidget() : window;
    auto *announcer = holder->findChild<QWidget *>(AnnouncerName, Qt::FindDirectChildrenOnly);
    if (!announcer) {
        announcer = new QWidget(holder);
        announcer->setObjectName(AnnouncerName);
        announcer->setGeometry(0, 0, 0, 0);
        announcer->setAttribute(Qt::WA_TransparentForMouseEvents);
        announcer->setFocusPolicy(Qt::NoFocus);
        announcer->setAccessibleName(summary);
        announcer->show();
        return;
    }
    // Once shown it stays: hiding and showing it again would cost every run a repaint, so
    // screen readers are told it appeared anew instead.
    announcer->setAccessibleName(summary);
    QAccessibleEvent shown(announcer, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

QString Counted(long long count, const char *singular, const char *plural)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

} // namespace platform

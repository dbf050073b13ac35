#include "dirlistbox.h"

#include "fileprobe.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int pathRole = Qt::UserRole;
constexpr int depthRole = Qt::UserRole + 1;

// Each level of the chain sits this many pixels further to the right.
constexpr int indentPerLevel = 8;

// Draws an item moved to the right by its depth.
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(indented.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex& index)
    {
        return index.data(depthRole).toInt() * indentPerLevel;
    }
};

QString displayName(const QDir& folder)
{
    return folder.isRoot() ? QDir::toNativeSeparators(folder.absolutePath()) : folder.dirName();
}

} // namespace

DirListBox::DirListBox(const QString& startFolder, QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    if (!setPath(startFolder)) {
        setPath(QDir::rootPath());
    }
}

QString DirListBox::Path() const
{
    return QDir::toNativeSeparators(m_path);
}

bool DirListBox::setPath(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (!FileProbe::canOpenFolder(clean)) {
        return false;
    }
    m_path = clean;
    fill();
    return true;
}

void DirListBox::fill()
{
    clear();
    const QStyle* const look = style();
    const QIcon openIcon = look->standardIcon(QStyle::SP_DirOpenIcon, nullptr, this);
    const QIcon closedIcon = look->standardIcon(QStyle::SP_DirClosedIcon, nullptr, this);

    // The chain from the root down to the open folder.
    QList<QDir> chain;
    for (QDir folder(m_path);;) {
        chain.prepend(folder);
        if (folder.isRoot() || !folder.cdUp()) {
            break;
        }
    }
    int depth = 0;
    for (const QDir& folder : chain) {
        auto* item = new QListWidgetItem(openIcon, displayName(folder), this);
        item->setData(pathRole, folder.absolutePath());
        item->setData(depthRole, depth++);
    }
    QListWidgetItem* const openFolder = item(count() - 1);

    // Its subfolders, hidden ones left out as a file manager does.
    const QDir open(m_path);
    QStringList names = open.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(closedIcon, name, this);
        item->setData(pathRole, open.absoluteFilePath(name));
        item->setData(depthRole, depth);
    }

    setCurrentItem(openFolder);
    showOpenFolder();
}

void DirListBox::showOpenFolder()
{
    // As much of the chain as fits, with the open folder and its first subfolders in view.
    const QListWidgetItem* const openFolder = currentItem();
    if (openFolder == nullptr) {
        return;
    }
    const int openRow = row(openFolder);
    scrollToTop();
    scrollToItem(item(std::min(openRow + 2, count() - 1)), QAbstractItemView::EnsureVisible);
    scrollToItem(openFolder, QAbstractItemView::EnsureVisible);
}

void DirListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    // The list is filled before it gets its size; what is in view follows the size.
    if (currentItem() != nullptr && currentItem()->data(pathRole).toString() == m_path) {
        showOpenFolder();
    }
}

void DirListBox::openItem(const QListWidgetItem* item)
{
    if (item == nullptr) {
        return;
    }
    if (!setPath(item->data(pathRole).toString())) {
        QApplication::beep();
    }
}

void DirListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openItem(currentItem());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (const QListWidgetItem* item = itemAt(event->position().toPoint())) {
            openItem(item);
            event->accept();
            return;
        }
    }
    QListWidget::mouseDoubleClickEvent(event);
}

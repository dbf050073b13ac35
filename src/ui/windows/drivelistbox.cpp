#include "drivelistbox.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int rootRole = Qt::UserRole;

} // namespace

DriveListBox::DriveListBox(const QString& startFolder, QWidget* parent)
    : QComboBox(parent), m_startVolume(volumeOf(startFolder))
{
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fill(userVolumes(), m_startVolume.rootPath);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveListBox::driveChanged);
}

QString DriveListBox::Drive() const
{
    return QDir::toNativeSeparators(currentData(rootRole).toString());
}

void DriveListBox::showPopup()
{
    const QString chosen = currentData(rootRole).toString();
    fill(userVolumes(), chosen);
    // A volume that has gone away leaves the first one chosen: the folder list follows.
    if (currentData(rootRole).toString() != chosen) {
        Q_EMIT driveChanged();
    }
    QComboBox::showPopup();
}

void DriveListBox::fill(const QList<Volume>& volumes, const QString& chosenRoot)
{
    // Filling the list is no choice of the user's: the choice stays what it was.
    const QSignalBlocker quiet(this);
    QList<Volume> listed = volumes;
    // The volume the dialog started on stays listed even where it is none of the usual
    // places (a current folder on a tmpfs, say).
    if (std::none_of(listed.begin(), listed.end(),
                     [this](const Volume& v) { return v.rootPath == m_startVolume.rootPath; })) {
        listed.append(m_startVolume);
    }
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon, nullptr, this);
    for (const Volume& volume : listed) {
        addItem(icon, volume.label, volume.rootPath);
    }
    const int chosen = findData(chosenRoot, rootRole);
    setCurrentIndex(chosen >= 0 ? chosen : 0);
}

#pragma once

#include "volumes.h"

#include <QComboBox>

// The drive list of the save dialog (drvStation): a drop-down list of the places a user
// saves to (see userVolumes()). It starts at the volume that holds the folder it is given,
// which is always listed, and reads the mounted volumes again each time it is opened, so that
// a stick put in while the dialog was hidden shows up.
class DriveListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveListBox(const QString& startFolder, QWidget* parent = nullptr);

    // The root folder of the chosen volume, in the system's own notation ("/", "C:\").
    QString Drive() const;

    void showPopup() override;

Q_SIGNALS:
    // The user chose another volume, or the one chosen has gone away.
    void driveChanged();

private:
    void fill(const QList<Volume>& volumes, const QString& chosenRoot);

    Volume m_startVolume;
};

#include "frmSave.h"

#include "frmMain.h"

#include <QCloseEvent>

frmSave::frmSave(frmMain& main) : QDialog(nullptr), m_main(main)
{
    setWindowTitle(QStringLiteral("Opslaan als"));
}

frmSave::~frmSave() = default;

void frmSave::showModal()
{
    m_closed = false;
    exec();
}

void frmSave::closeEvent(QCloseEvent* event)
{
    m_closed = true;
    QDialog::closeEvent(event);
}

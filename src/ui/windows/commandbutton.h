#pragma once

#include <QPushButton>

// A push button of the two windows ("Random", "Opslaan", "Annuleer"). With the focus it
// answers Enter as it answers Space, as buttons do in every Windows program: held down while
// the key is, pressed when it is let go. It is never a default button: Enter anywhere else in
// its window does not reach it.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

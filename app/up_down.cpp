#include "app/up_down.hpp"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), position_(minimum)
{
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    up_->setAccessibleName(QStringLiteral("Nummer erhöhen"));
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    down_->setAccessibleName(QStringLiteral("Nummer verringern"));
    connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    buddy_->installEventFilter(this);
}

void UpDown::step(int direction)
{
    // Like a classic up-down control, the step starts from the number in the
    // edit when it holds one within range, so typing 999 and stepping up gives 1000.
    bool isNumber = false;
    const int typed = buddy_->text().toInt(&isNumber, 10);
    if (isNumber && typed >= minimum_ && typed <= maximum_)
        position_ = typed;
    const int next = std::clamp(position_ + direction, minimum_, maximum_);
    if (next == position_)
        return;
    position_ = next;
    buddy_->setText(QString::number(position_));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

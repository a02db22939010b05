#pragma once

#include <QEvent>
#include <QLabel>

namespace vistado {

// A label that grows and shrinks with its text and font, as the window's labels do.
// Set its text through this type: QLabel::setText is not virtual.
class AutoSizeLabel : public QLabel {
public:
    AutoSizeLabel(const QString& text, QWidget* parent) : QLabel(text, parent) { adjustSize(); }

    void setText(const QString& text)
    {
        QLabel::setText(text);
        adjustSize();
    }

protected:
    void changeEvent(QEvent* event) override
    {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::FontChange)
            adjustSize();
    }
};

}  // namespace vistado

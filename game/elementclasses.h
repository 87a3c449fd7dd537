#pragma once

#include "colour.h"
#include "elementid.h"
#include "layout.h"

#include <string>
#include <string_view>

namespace quorvale {

using layout::ShapeKind;

// Told of every property write that changes a value, right after it takes effect.
class ChangeListener
{
public:
    virtual void propertyChanged(Element element, Property property) = 0;

protected:
    ~ChangeListener() = default;
};

class ElementBase
{
public:
    ElementBase(const ElementBase &) = delete;
    ElementBase &operator=(const ElementBase &) = delete;

    Element id() const { return m_id; }

protected:
    ElementBase(Element id, ChangeListener &listener) : m_id(id), m_listener(&listener) {}
    ~ElementBase() = default;

    // Writes take effect at once; a write of the value already held is no change.
    template<typename T>
    void write(T &field, const T &value, Property property)
    {
        if (field == value)
            return;
        field = value;
        m_listener->propertyChanged(m_id, property);
    }
    // A change made in place, for a value too large to copy on every write.
    void changed(Property property) { m_listener->propertyChanged(m_id, property); }

private:
    Element m_id;
    ChangeListener *m_listener; // the form that owns this element
};

// A filled figure on the board: the board itself, a wall or a piece. Geometry is single precision.
class ShapeElement : public ElementBase
{
public:
    ShapeElement(Element id, const layout::ShapeLayout &l, ChangeListener &listener)
        : ElementBase(id, listener), m_left(static_cast<float>(l.left)),
          m_top(static_cast<float>(l.top)), m_width(static_cast<float>(l.width)),
          m_height(static_cast<float>(l.height)), m_shape(l.shape), m_fillColor(l.fillColor),
          m_borderColor(l.borderColor), m_borderWidth(l.borderWidth)
    {}

    float left() const { return m_left; }
    float top() const { return m_top; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    ShapeKind shape() const { return m_shape; }
    Colour fillColor() const { return m_fillColor; }
    Colour borderColor() const { return m_borderColor; }
    int borderWidth() const { return m_borderWidth; }

    void setLeft(float v) { write(m_left, v, Property::Left); }
    void setTop(float v) { write(m_top, v, Property::Top); }
    void setShape(ShapeKind v) { write(m_shape, v, Property::Shape); }
    void setFillColor(Colour v) { write(m_fillColor, v, Property::FillColor); }
    void setBorderColor(Colour v) { write(m_borderColor, v, Property::BorderColor); }

private:
    float m_left;
    float m_top;
    float m_width;
    float m_height;
    ShapeKind m_shape;
    Colour m_fillColor;
    Colour m_borderColor;
    int m_borderWidth;
};

class FormElement : public ElementBase
{
public:
    explicit FormElement(ChangeListener &listener) : ElementBase(Element::frmmaze, listener) {}

    std::string_view caption() const { return layout::caption; }
    Colour backColor() const { return m_backColor; }
    void setBackColor(Colour v) { write(m_backColor, v, Property::BackColor); }

private:
    Colour m_backColor = layout::formBackColor;
};

// A control of the setup phase: the start button, the cheat box, the frame or an option button.
class Control : public ElementBase
{
public:
    Control(Element id, const layout::ControlLayout &l, ChangeListener &listener)
        : ElementBase(id, listener), m_layout(l)
    {}

    const layout::Rect &geometry() const { return m_layout.rect; }
    int tabIndex() const { return m_layout.tabIndex; }
    bool visible() const { return m_visible; }
    bool enabled() const { return m_enabled; }
    void setVisible(bool v) { write(m_visible, v, Property::Visible); }
    void setEnabled(bool v) { write(m_enabled, v, Property::Enabled); }

private:
    layout::ControlLayout m_layout;
    bool m_visible = true;
    bool m_enabled = true;
};

class TextBox : public Control
{
public:
    using Control::Control;

    // UTF-8.
    const std::string &text() const { return m_text; }
    void setText(std::string v) { write(m_text, v, Property::Text); }
    // The same change as setText(text() + v), without copying the text held so far.
    void appendText(std::string_view v)
    {
        if (v.empty())
            return;
        m_text += v;
        changed(Property::Text);
    }

private:
    std::string m_text;
};

class OptionButton : public Control
{
public:
    OptionButton(Element id, const layout::ControlLayout &l, std::string_view caption,
                 ChangeListener &listener)
        : Control(id, l, listener), m_caption(caption)
    {}

    std::string_view caption() const { return m_caption; }
    bool value() const { return m_value; }
    void setValue(bool v) { write(m_value, v, Property::Value); }

private:
    std::string_view m_caption;
    bool m_value = false;
};

class Label : public ElementBase
{
public:
    explicit Label(ChangeListener &listener) : ElementBase(Element::lblabout, listener) {}

    const layout::Rect &geometry() const { return layout::lblabout.rect; }
    const std::string &caption() const { return m_caption; }
    void setCaption(std::string v) { write(m_caption, v, Property::Caption); }

private:
    std::string m_caption;
};

class Timer : public ElementBase
{
public:
    Timer(Element id, ChangeListener &listener) : ElementBase(id, listener) {}

    int interval() const { return layout::timerInterval; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool v) { write(m_enabled, v, Property::Enabled); }

private:
    bool m_enabled = true;
};

} // namespace quorvale

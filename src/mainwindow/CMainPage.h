#pragma once
#include <QWidget>

class QFrame;
class QLabel;

// One page of the main window's page control: a title with its rule under it
// (none on the patients page) and whatever the page holds. The window lays
// the title out; a page arranges its own controls when its size changes, so
// that every display mode keeps the controls' anchors.
class CMainPage : public QWidget
{
public:
    // The page's design size; controls anchored to the right or bottom keep
    // their distance from these edges.
    static constexpr int DesignWidth = 574;
    static constexpr int DesignHeight = 544;

    CMainPage(QWidget* parent, const char* name, const QString& title = {},
              const char* titleName = nullptr, const char* ruleName = nullptr);

    QLabel* Title() const { return m_title; }
    QFrame* Rule() const { return m_rule; }
    // Title and rule centred on the page at the given top, font height and
    // rule geometry (design values already scaled for the display mode).
    void PlaceTitle(int top, int fontHeight, int ruleTop, int ruleWidth, unsigned colour);

protected:
    // Places the page's controls for its current size.
    virtual void Arrange() {}
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_title = nullptr;
    QFrame* m_rule = nullptr;
};

#pragma once
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class CTransButton;

// The program's own modal message box: a skinned, round-cornered window with
// up to four centred lines and either "Tak" and "Nie" (a question) or "OK".
// One instance serves every question and notice of the main window.
class TFormMessage : public QDialog
{
public:
    enum EKind : int
    {
        KindInformation = 0,
        KindQuestion = 1,
        KindWarning = 2,
        KindError = 3,
    };
    enum EModalResult : int
    {
        mrNone = 0,
        mrOk = 1,
        mrYes = 6,
        mrNo = 7,
    };
    static constexpr int ClientWidth = 615;
    static constexpr int ClientHeight = 283;
    static constexpr int RowCount = 4;

    explicit TFormMessage(CBitmapsContainer* windows = WindowsContainer,
                          CBitmapsContainer* buttons = ButtonsContainer);
    ~TFormMessage() override;

    // A question; true exactly when answered with "Tak".
    bool Ask(const QString& row1, const QString& row2 = {}, const QString& row3 = {},
             const QString& row4 = {}, bool compact = false);
    // A notice of the given kind, closed with "OK".
    void Inform(int kind, const QString& row1, const QString& row2 = {}, const QString& row3 = {},
                const QString& row4 = {}, bool compact = false);
    // After a colour switch: the frame source and the buttons are loaded again.
    void ReloadSkins();

    int Kind() const { return m_kind; }
    QLabel* Row(int index) const { return m_rows[index]; }
    CTransButton* ButtonNie() const { return m_btNie; }
    CTransButton* ButtonTak() const { return m_btTak; }
    CTransButton* ButtonOK() const { return m_btOK; }
    const QImage& Frame() const { return m_frame; }
    bool FrameStale() const { return m_frameStale; }

    // The frame of a window of width x height tiled from the source: corners,
    // edges in 60-pixel pieces, the middle band repeated downwards.
    static QImage BuildFrame(const QImage& source, int width, int height);

    // Called each time the window has been shown and runs modally, so that a
    // test or a scripted run can read it and answer. Returns the previous one.
    using ShowHook = std::function<void(TFormMessage&)>;
    static ShowHook SetShowHook(ShowHook hook);
    // Plays the message sound of a kind (default: the platform's beep).
    using SoundFunction = std::function<void(int kind)>;
    static SoundFunction SetSoundFunction(SoundFunction sound);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildLayout();
    void LoadFrameSource();
    void PlaceButtons();
    void RebuildFrame();
    void SetRows(const QString& row1, const QString& row2, const QString& row3,
                 const QString& row4);
    void SetCompact(bool compact);
    int RunModal(bool compact);
    QAction* AddAction(const char* name, int result);

    CBitmapsContainer* m_windows = nullptr;
    CBitmapsContainer* m_buttons = nullptr;
    std::unique_ptr<QImage> m_frameSource;
    QImage m_frame;
    QImage* m_framePtr = nullptr; // the buttons' background variable
    CDynamicPlace m_layout;
    int m_kind = KindInformation;
    CTransButton* m_btNie = nullptr;
    CTransButton* m_btTak = nullptr;
    CTransButton* m_btOK = nullptr;
    bool m_frameStale = false;
    QLabel* m_rows[RowCount] = {};
};

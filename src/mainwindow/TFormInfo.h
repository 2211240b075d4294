#pragma once
#include "mainwindow/TFormFullScreen.h"

class QLabel;

// The information window: the program's version, the ownership and contact
// notice and the credits, over the information background.
class TFormInfo : public TFormFullScreen
{
public:
    static constexpr int NoticeCount = 9;
    static constexpr int RoleCount = 9;
    static constexpr int NameCount = 8;

    explicit TFormInfo(CBitmapsContainer* windows = WindowsContainer,
                       CBitmapsContainer* buttons = ButtonsContainer);
    ~TFormInfo() override;

    QLabel* Version() const { return m_lbVer; }
    QLabel* VersionShadow() const { return m_lbVer2; }
    QLabel* Notice(int i) const { return m_notice[i]; }
    QLabel* Role(int i) const { return m_roles[i]; }
    QLabel* Name(int i) const { return m_names[i]; }

private:
    void LayOutLabels();

    QLabel* m_lbVer2 = nullptr;
    QLabel* m_lbVer = nullptr;
    QLabel* m_notice[NoticeCount] = {};
    QLabel* m_roles[RoleCount] = {};
    QLabel* m_names[NameCount] = {};
};

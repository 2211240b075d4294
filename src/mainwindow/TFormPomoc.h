#pragma once
#include "mainwindow/TFormFullScreen.h"

// The help window: the help text is part of its skin background.
class TFormPomoc : public TFormFullScreen
{
public:
    explicit TFormPomoc(CBitmapsContainer* windows = WindowsContainer,
                        CBitmapsContainer* buttons = ButtonsContainer);
    ~TFormPomoc() override;
};

#include "mainwindow/TFormPomoc.h"

namespace {
const TFormFullScreen::SSkin PomocSkin = {QRect(), QPoint(1174, 860), QPoint(936, 684), 35, 34};
} // namespace

TFormPomoc::TFormPomoc(CBitmapsContainer* windows, CBitmapsContainer* buttons)
    : TFormFullScreen("FormPomoc", PomocSkin, windows, buttons)
{
}

TFormPomoc::~TFormPomoc() = default;

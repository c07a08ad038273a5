#include "KYPMDIChildPlacement.h"

#include <vector>

#include "KYPMDIArrange.h"

namespace {

std::vector<TForm*> Children(const TForm& form)
{
    std::vector<TForm*> children;
    for (int i = 0; i < form.MDIChildCount(); ++i) children.push_back(form.MDIChildren(i));
    return children;
}

std::vector<bool> Minimised(const std::vector<TForm*>& children)
{
    std::vector<bool> minimised;
    for (TForm* child : children) minimised.push_back(child->WindowState() == TWindowState::wsMinimized);
    return minimised;
}

void Apply(const std::vector<TForm*>& children, const TkypChildBounds& bounds)
{
    for (size_t i = 0; i < children.size(); ++i)
        if (bounds[i]) children[i]->SetBoundsRect(*bounds[i]);
}

int AlignedHeight(const TForm& form)
{
    int height = 0;
    for (int i = 0; i < form.ControlCount(); ++i) {
        const TControl* control = form.Controls(i);
        if (control->Align() == TAlign::alTop || control->Align() == TAlign::alBottom) height += control->Height();
    }
    return height;
}

}  // namespace

void CascadeMDIChildren(TForm& form)
{
    const std::vector<TForm*> children = Children(form);
    Apply(children, CascadeChildren(form.ClientWidth(), form.ClientHeight(), Minimised(children)));
}

void TileMDIChildren(TForm& form)
{
    const std::vector<TForm*> children = Children(form);
    const bool vertical = form.TileMode() == TTileMode::tbVertical;
    Apply(children,
        TileChildren(vertical, form.ClientWidth(), form.ClientHeight(), AlignedHeight(form), Minimised(children)));
}

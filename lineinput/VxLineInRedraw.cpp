// The layout pass, the switches between field kinds, the field colours, the
// host's resize, paint and ambient notifications, and the position queries.
// The arithmetic lives in LineLayout; this file measures and applies.
#include "VxLineIn.h"

#include "LineLayout.h"
#include "PersistedKeys.h"
#include "Screen.h"
#include "Twips.h"

using namespace lineinput;

void VxLineIn::RedrawControl() {
    // Until its host places it, the control has no extent to lay out: the
    // first placement runs the pass. Restoring a control, and setting any
    // number of properties before placing it, thus lays it out once.
    if (!placed())
        return;
    RaiseEvent(VxEvent::BeforeRedraw);

    const StyleDescriptor& style = Style();
    const int W = width();
    const int H = height();
    const double twipsPerPixel = host::TwipsPerPixelX();

    const int S = SingleLineHeight();

    const VerticalMetrics v = ComputeVerticalMetrics(controlStyle_, H, S, topDistance_, txt->height());
    if (v.controlHeight)
        setOwnHeight(*v.controlHeight);
    const int FH = v.fieldHeight;
    const int FT = v.fieldTop;

    const int LW = LabelColumnWidth(W, labelWidth_, fixedBlockWidth_, twipsPerPixel);
    const Columns col = ComputeColumns(W, LW, leftOffset_, buttonWidth_, controlDistance_, buttonShow_);
    const int BB = col.buttonBlock;
    const int FL = col.fieldLeft;
    const int AV = col.available;

    lbl->setVisible(!checkboxShow_);
    const int captionHeight = lbl->height();
    lbl->setBounds(leftOffset_,
                   host::RoundHalfEven(CaptionTop(controlStyle_, S, topDistance_, FH, captionHeight)), LW - 1,
                   captionHeight);

    chk->setVisible(checkboxShow_);
    chk->setBounds(leftOffset_, lbl->top(), lbl->width(), lbl->height());

    txt->setBounds(FL, FT, AV - BB, S);

    if (host::Control* shown = ChildOf(style.shown)) {
        const FieldBounds f = ComputeFieldBounds(controlStyle_, col, W, LW, v, S);
        shown->setBounds(f.left, f.top, f.width, f.height);
    }
    if (style.framed)
        LayoutInnerBox();
    else
        gry->setBounds(FL, FT, AV - BB, FH - 1);

    cmd->setVisible(buttonShow_ && style.hasButton);
    if (!style.framed)
        cmd->setBounds(FL + AV - BB + controlDistance_, FT, buttonWidth_, S);

    gry->setVisible(grey_);
    if (grey_) {
        txt->setVisible(false);
        cmb0->setVisible(false);
        cmb2->setVisible(false);
        cmd->setEnabled(false);
        lbl->setEnabled(false);
        txt->setEnabled(false);
        mem->setVisible(false);
        anz->setVisible(false);
        chk->setEnabled(false);
        con->setEnabled(false);
        shp->setVisible(false);
        // The cover lies inside the frame, which stays shown.
        if (style.framed)
            con->setVisible(true);
    } else {
        // The field of the style stays shown: hiding it for a moment would
        // take the focus from a user who is typing in it.
        host::Control* field = ChildOf(style.shown);
        for (host::Control* c :
             {static_cast<host::Control*>(txt.get()), static_cast<host::Control*>(cmb0.get()),
              static_cast<host::Control*>(cmb2.get()), static_cast<host::Control*>(mem.get()),
              static_cast<host::Control*>(anz.get()), static_cast<host::Control*>(con.get()),
              static_cast<host::Control*>(shp.get())})
            if (c != field)
                c->setVisible(false);
        if (field)
            field->setVisible(true);
        ApplyEnabled();
    }

    ApplyButtonPicture();

    img->setLeft(0);
    img->setTop(host::RoundHalfEven(lbl->top() + (lbl->height() - img->height()) / 2.0));

    if (host::Control* field = ChildOf(style.field))
        SwitchMSGColors(field, 0);

    RaiseEvent(VxEvent::AfterRedraw);
}

int VxLineIn::SingleLineHeight() {
    // A single-line text box keeps the height its font and border need.
    txt->setHeight(1);
    return txt->height();
}

void VxLineIn::LayoutInnerBox() {
    const InnerBox box = ComputeInnerBox(con->width(), con->height(), buttonWidth_);
    txi->setBounds(box.textLeft, box.textTop, box.textWidth, box.textHeight);
    gry->setBounds(box.coverLeft, box.coverTop, txi->width() + 2, txi->height() + 2);
    cmd->setTop(box.buttonTop);
    cmd->setHeight(box.buttonHeight);
    cmd->setWidth(box.buttonWidth);
    cmd->setLeft(con->width() - cmd->width() - 4);
    // The separator just left of the button; the frame keeps it and draws
    // it again whenever it repaints.
    const int x = cmd->left() - 1;
    con->clearDrawing();
    con->drawLine(x, cmd->top(), x, cmd->top() + cmd->height(), host::kColor3DLight);
    cmd->setVisible(buttonShow_);
}

void VxLineIn::SelectComboStyle() {
    cmb0->setVisible(false);
    cmb2->setVisible(false);
    cmb0->clear();
    cmb2->clear();
    if (Style().field != Part::CurrentCombo)
        return;
    if (comboStyle_ == ComboEditable)
        CurrentCombo = cmb0.get();
    else if (comboStyle_ == ComboListOnly)
        CurrentCombo = cmb2.get();
    // A combo box is created without an opened list; the one that becomes
    // current gets its ComboLines now, not only when ComboLines is set.
    ApplyComboLines();
    RedrawControl();
}

void VxLineIn::ReparentForStyle() {
    const bool framed = Style().framed;
    HWND parent = framed ? con->hwnd() : hwnd();
    cmd->setParentWindow(parent);
    gry->setParentWindow(parent);
    gry->setBorder(!framed);
    // A new parent puts the button first; Tab should reach the field before it.
    cmd->placeLastInTabOrder();
}

void VxLineIn::ApplyComboLines() {
    if (!CurrentCombo)
        return;
    const int itemHeight = CurrentCombo->itemHeight();
    CurrentCombo->moveWithListHeight(CurrentCombo->left(), CurrentCombo->top(), CurrentCombo->width(),
                                     DropDownHeight(CurrentCombo->height(), itemHeight, comboLines_));
}

void VxLineIn::ApplyEnabled() {
    setEnabled(enabled_);
    for (host::Control* c : {static_cast<host::Control*>(txt.get()), static_cast<host::Control*>(txi.get()),
                             static_cast<host::Control*>(con.get()), static_cast<host::Control*>(cmd.get()),
                             static_cast<host::Control*>(lbl.get()), static_cast<host::Control*>(cmb0.get()),
                             static_cast<host::Control*>(cmb2.get()), static_cast<host::Control*>(anz.get()),
                             static_cast<host::Control*>(chk.get()), static_cast<host::Control*>(mem.get())})
        c->setEnabled(enabled_);
}

void VxLineIn::SwitchMSGColors(host::Control* ctr, std::int32_t akt) {
    if (!Style().fieldColours || !ctr)
        return;
    if (akt != 0 || !multiStringGrey_) {
        ctr->setBackColor(textBackColor_);
        ctr->setForeColor(textForeColor_);
    } else {
        // Unfocused and greyed: the text disappears in the control's colour.
        ctr->setBackColor(backColor());
        ctr->setForeColor(backColor());
    }
    ctr->refresh();
}

void VxLineIn::AutoSizeLabel() {
    SetLabelWidth(lbl->width() + 8);
}

float VxLineIn::CtlLeft(std::int32_t wdtyp) const {
    const double twipsPerPixel = host::TwipsPerPixelX();
    const PositionInput in{leftTwips(),  widthTwips(), buttonShow_,   txt->left(),
                           txt->width(), cmd->left(),  twipsPerPixel, twipsPerPixel};
    return CtlLeftFor(wdtyp, in);
}

float VxLineIn::CTLWidth(std::int32_t wdtyp) const {
    const double twipsPerPixel = host::TwipsPerPixelX();
    const PositionInput in{leftTwips(),  widthTwips(), buttonShow_,   txt->left(),
                           txt->width(), cmd->left(),  twipsPerPixel, twipsPerPixel};
    return CTLWidthFor(wdtyp, in);
}

void VxLineIn::onHostResize() {
    RedrawControl();
    RaiseEvent(VxEvent::Resize);
}

void VxLineIn::onHostPaint() {
    RaiseEvent(VxEvent::Paint);
}

void VxLineIn::onAmbientChanged(const std::wstring& propertyName) {
    if (!autoAmbientChanges_)
        return;
    const host::AmbientProperties a = ambient();
    if (propertyName == L"BackColor") {
        SetBackColor(a.backColor);
    } else if (propertyName == L"ForeColor") {
        SetForeColor(a.foreColor);
    } else if (propertyName == L"Font") {
        SetFont(a.font);
        SetButtonFont(a.font);
        SetLabelFont(a.font);
    }
}

// --- setters that run the layout -------------------------------------------------------

void VxLineIn::SetLabelWidth(std::int32_t v) {
    labelWidth_ = v;
    RedrawControl();
    propertyChanged(key::LabelWidth);
}
void VxLineIn::SetLeftOffset(std::int32_t v) {
    leftOffset_ = v;
    RedrawControl();
    propertyChanged(key::LeftOffset);
}
void VxLineIn::SetFixedBlockWidth(std::int32_t v) {
    fixedBlockWidth_ = v;
    RedrawControl();
    propertyChanged(key::FixedBlockWidth);
}
void VxLineIn::SetTopDistance(std::int32_t v) {
    topDistance_ = v;
    RedrawControl();
    propertyChanged(key::TopDistance);
}
void VxLineIn::SetControlDistance(std::int32_t v) {
    controlDistance_ = v;
    RedrawControl();
    propertyChanged(key::ControlDistance);
}
void VxLineIn::SetButtonShow(bool v) {
    buttonShow_ = v;
    RedrawControl();
    propertyChanged(key::ButtonShow);
}
void VxLineIn::SetCheckboxShow(bool v) {
    checkboxShow_ = v;
    RedrawControl();
    propertyChanged(key::CheckboxShow);
}
void VxLineIn::SetGreyControl(bool v) {
    grey_ = v;
    RedrawControl();
    propertyChanged(key::GreyControl);
}
void VxLineIn::SetMultiStringGrey(bool v) {
    multiStringGrey_ = v;
    RedrawControl();
    propertyChanged(L"MultiStringGrey");
}
void VxLineIn::SetButtonWidth(std::int32_t v) {
    if (v == 0) {
        // ButtonWidth 0 stands for the automatic width of the style. The
        // single-line height is measured here, not taken from txt: before
        // the host places the line, no layout pass has sized txt yet.
        v = AutomaticButtonWidth(controlStyle_, SingleLineHeight());
    }
    buttonWidth_ = v;
    RedrawControl();
    propertyChanged(key::ButtonWidth);
}
void VxLineIn::SetControlStyle(std::int32_t v) {
    controlStyle_ = v;
    ReparentForStyle();
    SelectComboStyle();
    RedrawControl();
    propertyChanged(key::ControlStyle);
}
void VxLineIn::SetComboStyle(std::int32_t v) {
    comboStyle_ = v;
    SelectComboStyle();
    propertyChanged(key::ComboStyle);
}
void VxLineIn::SetComboLines(std::int32_t v) {
    comboLines_ = v;
    ApplyComboLines();
    propertyChanged(key::ComboLines);
}
void VxLineIn::SetEnabled(bool v) {
    enabled_ = v;
    ApplyEnabled();
    propertyChanged(key::Enabled);
}

// Initialisation of a newly placed input line: its fields and the settings
// of its children, in the order the stored state is later read.
#include "VxLineIn.h"

#include "LineLayout.h"
#include "Screen.h"

void VxLineIn::InitProperties() {
    const host::AmbientProperties a = ambient();

    CurrentCombo = cmb0.get();
    buttonWidth_ = lineinput::DefaultButtonWidth(host::TwipsPerPixelX());
    labelWidth_ = 125;
    fixedBlockWidth_ = 0;
    controlDistance_ = 4;
    topDistance_ = 2;
    dlgFileType_ = L"Textdatei";
    dlgFileExtension_ = L"txt";
    dlgOpenCaption_ = L"Datei \u00f6ffnen : ";
    dlgSaveCaption_ = L"Datei speichern : ";
    dlgPathCaption_ = L"W\u00e4hlen Sie ein Verzeichnis : ";
    buttonShow_ = true;
    textBoxStyle_ = 0;
    textMask_ = L"*";
    controlStyle_ = 0;
    grey_ = false;
    commandStyle_ = 0;
    pictureType_ = 0;
    autoAmbientChanges_ = true;
    defaultFilename_.clear();
    appendOleDDFiles_ = false;
    allowDDMultiFiles_ = false;

    lbl->setToolTip(L"");
    chk->setToolTip(L"");
    cmd->setToolTip(L"");

    lbl->setCaption(L"Label : ");
    lbl->setForeColor(a.foreColor);
    chk->setForeColor(a.foreColor);
    lbl->setFont(a.font);
    lbl->setEnabled(true);
    lbl->setAlignment(0);
    lbl->setBackColor(a.backColor);

    checkboxShow_ = false;
    SetValue(true);

    chk->setBackColor(a.backColor);
    chk->setFont(a.font);
    chk->setCaption(L"Label : ");

    textForeColor_ = a.foreColor;
    textBackColor_ = host::kColorWindow;
    buttonClickOnEnter_ = false;

    for (host::TextBox* box : {txt.get(), txi.get(), mem.get()}) {
        if (box == mem.get())
            con->setBackColor(host::kColorWindow);
        box->setText(L"");
        box->setForeColor(a.foreColor);
        box->setBackColor(host::kColorWindow);
        box->setFont(a.font);
        box->setLocked(false);
        box->setPasswordChar(L"");
        box->setMaxLength(0);
        box->setEnabled(true);
        box->setToolTip(L"");
    }

    anz->setCaption(L"");
    anz->setForeColor(a.foreColor);
    anz->setBackColor(host::kColorWindow);
    anz->setFont(a.font);
    anz->setEnabled(true);
    anz->setToolTip(L"");
    anz->setAlignment(0);
    anz->setUseMnemonic(false);

    for (host::ComboBox* combo : {cmb0.get(), cmb2.get()}) {
        combo->setForeColor(a.foreColor);
        combo->setBackColor(host::kColorWindow);
        combo->setFont(a.font);
        combo->setLocked(false);
        combo->setEnabled(true);
        combo->setToolTip(L"");
    }

    comboLines_ = 8;

    cmd->setCaption(L"");
    cmd->setBackColor(a.backColor);
    cmd->setFont(a.font);
    cmd->setEnabled(true);
    cmd->setMaskColor(0xC0C0C0);
    cmd->setUseMaskColor(true);

    setBackColor(a.backColor);
    setForeColor(a.foreColor);

    enabled_ = true;
    ctlUseLng_ = 0;
    comboStyle_ = 2;
    buttonPicture_ = host::Picture();
    dlgFolderStyle_ = 1;
    dlgFolderNamesAsis_ = false;
    leftOffset_ = 0;

    img->setVisible(false);
    img->setPicture(host::Picture());

    ReparentForStyle();
    SelectComboStyle();
    ApplyComboLines();
    ApplyEnabled();
}

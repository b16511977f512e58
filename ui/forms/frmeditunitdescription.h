#pragma once
// The description editor: one unit's description in one, two or four parts
// (the unit and its signalling contacts), and its last fault text. Lives for
// one modal run; only "OK" writes the registry and "Units.dat".
#include <QDialog>

class QLineEdit;

class FrmEditUnitDescription : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxParts = 4;

    // Opens the editor for a unit, modal over parent, and returns when it closes.
    static void showForm(QWidget *parent, int addr);

    FrmEditUnitDescription(QWidget *parent, int addr);

private:
    void store();
    void showLastFault();

    int m_adresse;
    int m_zeilen;
    QLineEdit *m_description[kMaxParts];
};

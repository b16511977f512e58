#pragma once
// "Formulareigenschaften": a board's name and description. Created on its
// first use and only hidden afterwards.
#include <QDialog>

class QLineEdit;

class FrmFormularEigenschaften : public QDialog
{
    Q_OBJECT
public:
    // Modal over owner. The texts come back as edited, also after "Abbrechen";
    // true when "OK" closed the dialog.
    static bool showDialog(QWidget *owner, QString &name, QString &beschreibung);

private:
    explicit FrmFormularEigenschaften(QWidget *parent);

    QLineEdit *m_name;
    QLineEdit *m_beschreibung;
    bool m_ok = false;
};

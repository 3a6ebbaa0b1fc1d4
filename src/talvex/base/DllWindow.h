#pragma once

#include "runtime/form.h"

#include <QPointer>

class TdxBar;
class TdxBarManager;
class TTimer;

// The base of every window the plug-in hands to the host. The host drives it
// through the sixteen virtual operations below, by their position in the virtual
// table right after the form class's own: their order is part of the contract and
// must never change. A concrete window overrides what it needs, calling the
// default first.
class TDllWindowForm : public TForm
{
    Q_OBJECT
    Q_PROPERTY(QString UnitCode READ unitCode WRITE setUnitCode)
public:
    explicit TDllWindowForm(QWidget *parent = nullptr);
    ~TDllWindowForm() override;

    virtual void SetModified(bool value);   // 1
    virtual bool GetModified();             // 2
    virtual void SetFlags(quint16 value);   // 3
    virtual quint16 GetFlags();             // 4
    virtual void RefreshData();             // 5
    virtual bool SaveData();                // 6
    virtual bool SaveToExcel();             // 7
    virtual bool ImportData();              // 8
    virtual bool CustomQuery();             // 9
    virtual void CustomAction1();           // 10
    virtual void PrintPreview();            // 11
    virtual void PrintPreview2();           // 12
    virtual bool FindData();                // 13
    virtual void CustomAction2();           // 14
    virtual void InitWindow();              // 15
    virtual void FreeWindow();              // 16

    // The host's right level for the right code in this window's Tag.
    int GetOperateRight();

    // The first data control a container (a tab sheet, form or frame) holds for
    // the generic commands: a grid showing a banded view, a spreadsheet book or a
    // spreadsheet control; none for anything else.
    static QObject *FindDataControl(QObject *container);

    // A code the host assigns after creating the window; passed on to printing and
    // export.
    QString unitCode() const { return m_unitCode; }
    void setUnitCode(const QString &code) { m_unitCode = code; }

    TdxBarManager *barManager() const { return dxBarToolBar; }
    TTimer *previewCaptionTimer() const { return m_timer; }

protected:
    // Styles the components that container owns from the host's style repository.
    static void applyStyles(QObject *container);

    TdxBarManager *dxBarToolBar;
    TdxBar *dxToolBar;

private:
    void previewCaptionTick();

    bool m_modified = false;
    quint16 m_flags = 0;
    QString m_unitCode;
    TTimer *m_timer = nullptr;
};

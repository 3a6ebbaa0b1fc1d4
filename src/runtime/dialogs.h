#pragma once

#include "rtglobal.h"

#include <QObject>
#include <QString>
#include <functional>

// File dialogs created for one command and freed by it. execute() shows the dialog
// and answers whether the user confirmed; tests answer through a responder.
class RT_EXPORT TFileDialog : public QObject
{
    Q_OBJECT
public:
    enum class Kind { Open, Save };

    TFileDialog(Kind kind, QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    // Filter in the classic form "Description|*.ext|Description|*.ext".
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }
    QString defaultExt() const { return m_defaultExt; }
    void setDefaultExt(const QString &ext) { m_defaultExt = ext; }
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }

    bool execute();

private:
    QString qtFilter() const;

    Kind m_kind;
    QString m_title;
    QString m_filter;
    QString m_defaultExt;
    QString m_fileName;
};

class RT_EXPORT TOpenDialog : public TFileDialog
{
    Q_OBJECT
public:
    explicit TOpenDialog(QObject *parent = nullptr)
        : TFileDialog(Kind::Open, parent)
    {
    }
};

class RT_EXPORT TSaveDialog : public TFileDialog
{
    Q_OBJECT
public:
    explicit TSaveDialog(QObject *parent = nullptr)
        : TFileDialog(Kind::Save, parent)
    {
    }
};

namespace Rt {
// Answers file dialogs instead of showing them: returns whether to confirm and may
// set the dialog's file name.
using FileDialogResponder = std::function<bool(TFileDialog &)>;
RT_EXPORT void setFileDialogResponder(FileDialogResponder responder);
} // namespace Rt

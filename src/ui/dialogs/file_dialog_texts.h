#pragma once

#include <QObject>
#include <QString>

namespace tomlet {

// The title and filter of an open or save dialog, kept on a named object so that a language
// file can translate them ("dialog_Open.Title", "dialog_Save.Filter").
class FileDialogTexts final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileDialogTexts)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)

public:
    FileDialogTexts(const QString& name, QString title, QString filter, QObject* parent)
        : QObject(parent), m_title(std::move(title)), m_filter(std::move(filter)) {
        setObjectName(name);
    }

    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    QString Filter() const { return m_filter; }
    void SetFilter(const QString& filter) { m_filter = filter; }

private:
    QString m_title;
    QString m_filter;
};

}  // namespace tomlet

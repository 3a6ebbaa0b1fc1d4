#include "ChineseInterface.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

using namespace Qt::StringLiterals;

void ChineseInterface::install(QTranslator &qtTexts)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    const QStringList folders{QCoreApplication::applicationDirPath()
                                  + u"/../share/talvex/translations"_s,
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString &folder : folders) {
        if (qtTexts.load(QLocale(), u"qtbase"_s, u"_"_s, folder)) {
            QCoreApplication::installTranslator(&qtTexts);
            return;
        }
    }
}

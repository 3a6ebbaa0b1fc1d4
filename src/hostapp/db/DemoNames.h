#pragma once

#include <QString>

class QRandomGenerator;

namespace DemoNames {

struct PersonName
{
    QString name;   // "王芳", sometimes with an inner blank: "欧阳 雪"
    QString pyCode; // pinyin initials in capitals: "WF", "OYX"
};

// A Chinese name drawn from common surnames and given-name characters.
PersonName personName(QRandomGenerator &random);

} // namespace DemoNames

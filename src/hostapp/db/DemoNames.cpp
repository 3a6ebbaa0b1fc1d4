#include "DemoNames.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace DemoNames {

namespace {

struct Syllables
{
    QStringView text;
    QStringView initials;
};

constexpr Syllables surnames[] = {
    {u"王", u"W"},    {u"李", u"L"},    {u"张", u"Z"},    {u"刘", u"L"},    {u"陈", u"C"},
    {u"杨", u"Y"},    {u"黄", u"H"},    {u"赵", u"Z"},    {u"吴", u"W"},    {u"周", u"Z"},
    {u"徐", u"X"},    {u"孙", u"S"},    {u"马", u"M"},    {u"朱", u"Z"},    {u"胡", u"H"},
    {u"郭", u"G"},    {u"何", u"H"},    {u"高", u"G"},    {u"林", u"L"},    {u"罗", u"L"},
    {u"郑", u"Z"},    {u"梁", u"L"},    {u"谢", u"X"},    {u"宋", u"S"},    {u"唐", u"T"},
    {u"韩", u"H"},    {u"冯", u"F"},    {u"邓", u"D"},    {u"曹", u"C"},    {u"彭", u"P"},
    {u"欧阳", u"OY"}, {u"司马", u"SM"}, {u"诸葛", u"ZG"}, {u"上官", u"SG"},
};

constexpr Syllables givenNameCharacters[] = {
    {u"伟", u"W"}, {u"芳", u"F"}, {u"娜", u"N"}, {u"敏", u"M"}, {u"静", u"J"}, {u"丽", u"L"},
    {u"强", u"Q"}, {u"磊", u"L"}, {u"军", u"J"}, {u"洋", u"Y"}, {u"勇", u"Y"}, {u"艳", u"Y"},
    {u"杰", u"J"}, {u"娟", u"J"}, {u"涛", u"T"}, {u"明", u"M"}, {u"超", u"C"}, {u"秀", u"X"},
    {u"霞", u"X"}, {u"平", u"P"}, {u"刚", u"G"}, {u"桂", u"G"}, {u"英", u"Y"}, {u"华", u"H"},
    {u"玉", u"Y"}, {u"兰", u"L"}, {u"文", u"W"}, {u"建", u"J"}, {u"国", u"G"}, {u"志", u"Z"},
    {u"红", u"H"}, {u"海", u"H"}, {u"鹏", u"P"}, {u"飞", u"F"}, {u"婷", u"T"}, {u"雪", u"X"},
    {u"琳", u"L"}, {u"晨", u"C"}, {u"浩", u"H"}, {u"宇", u"Y"}, {u"子", u"Z"}, {u"欣", u"X"},
    {u"佳", u"J"}, {u"怡", u"Y"}, {u"梅", u"M"}, {u"凯", u"K"}, {u"波", u"B"}, {u"瑞", u"R"},
};

template <typename T, size_t N> const T &pick(QRandomGenerator &random, const T (&items)[N])
{
    return items[random.bounded(quint32(N))];
}

} // namespace

PersonName personName(QRandomGenerator &random)
{
    const Syllables &surname = pick(random, surnames);
    PersonName person{surname.text.toString(), surname.initials.toString()};
    // Names typed with a blank after the surname: the list search removes
    // blanks before it compares.
    if (random.bounded(12) == 0)
        person.name += u' ';
    const int characters = random.bounded(3) == 0 ? 1 : 2;
    for (int i = 0; i < characters; ++i) {
        const Syllables &given = pick(random, givenNameCharacters);
        person.name += given.text;
        person.pyCode += given.initials;
    }
    return person;
}

} // namespace DemoNames

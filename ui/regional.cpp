#include "ui/regional.h"

#include <QLocale>

namespace kelvora {

std::string regionalDecimalSeparator() {
    return QLocale::system().decimalPoint().toStdString();
}

}  // namespace kelvora

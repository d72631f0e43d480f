#include "formats/systemreason.h"

#include <system_error>

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::generic_category().message(error));
}

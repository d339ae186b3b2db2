#include "widgets/ApplicationIcon.h"

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icon/festoria-%1.png").arg(size), QSize(size, size));
    return icon;
}

// Must not compile: nothing outside the platform layer can reach a Qt header.
#include <QWidget>

int SeamProbe() {
    return 0;
}

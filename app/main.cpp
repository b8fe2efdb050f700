// Beugungsbilder: diffraction-pattern pictures for crystallography exercises.
#include "app/main_window.hpp"
#include "render/fonts.hpp"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    TForm1 Form1;
    Form1.show();
    return application.exec();
}

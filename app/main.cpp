// Quillmere: a Vedic birth chart and house-lords reading.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillmere");

    // The entry form and the reading windows are not part of this build yet; the command-line
    // companion quillmere-chart computes whole readings meanwhile.
    QWidget window;
    window.setWindowTitle("Quillmere v1.15");
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel("<h2>Quillmere v1.15</h2>"
                             "<p>The entry form is not part of this build yet.</p>"
                             "<p>Readings can be computed with the command-line companion:<br>"
                             "<tt>quillmere-chart --help</tt></p>");
    label->setTextFormat(Qt::RichText);
    layout->addWidget(label);
    window.resize(480, 220);
    window.show();
    return app.exec();
}

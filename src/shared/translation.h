#pragma once

class QCoreApplication;

// Makes Qt's own dialogs and standard buttons speak Russian.
void installQtRussianTranslation(QCoreApplication &app);

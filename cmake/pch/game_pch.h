// SPDX-License-Identifier: GPL-3.0-or-later
// Precompiled once for every library of the game: the Qt and standard headers
// most of its sources include. Each source still includes what it uses.
#pragma once
#include <QAction>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

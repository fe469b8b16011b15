#pragma once
// A short id of this installation, so that computers installed from one image, which share
// a hostname, never append to one file of a shared records folder.

#include <QString>

// Made once for each computer that uses these settings and remembered: a copied home or a
// cloned disk, started on another machine, makes its own.
QString InstallationId();

#pragma once
#include <QString>

namespace corvane {

class Connection;

// Fills an empty address book with a few believable senders and recipients.
void addDemoRows(Connection& connection);

}

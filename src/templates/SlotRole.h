#pragma once

namespace corvane {

// Which row a slot takes its value from.
enum class SlotRole { Sender, Recipient };

}

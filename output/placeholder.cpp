namespace kelvora::output {}

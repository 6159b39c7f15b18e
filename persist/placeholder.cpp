namespace kelvora::persist {}

// placeholder until the key notation tests land
